// The manifest parser against the format's corner cases, and loading a real
// file through a wide path.
#include "uninstall/manifest.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kodaro::uninstall {
namespace {

UninstallManifest Parsed(std::string_view text) {
    UninstallManifest manifest;
    manifest.Parse(text);
    return manifest;
}

// "文件" and the full-width space in code page 936.
constexpr char kFileInChinese[] = "\xCE\xC4\xBC\xFE";
constexpr char kFullWidthSpace[] = "\xA1\xA1";

TEST(UninstallManifest, HeadersNeedTheBracketFirstAndLoseTrailingSpaces) {
    EXPECT_EQ(Parsed("  [File]\r\n1=a\r\n").Count("File"), 0u);
    EXPECT_EQ(Parsed("  [File]\r\n1=a\r\n").Count(), 0u);
    EXPECT_EQ(Parsed("[File]  \r\n1=a\r\n").Value("File", "1"), "a");
    // Without "]" the last character goes instead, a double-byte one whole.
    EXPECT_EQ(Parsed("[File\r\n1=a\r\n").Value("Fil", "1"), "a");
    EXPECT_EQ(Parsed(std::string("[") + kFileInChinese + "\n1=a\n").Sections(),
              std::vector<std::string>{"\xCE\xC4"});
    // An empty section name holds nothing; entries before any header are dropped.
    EXPECT_EQ(Parsed("1=a\n[]\n2=b\n[File]\n3=c\n").Count(), 1u);
}

TEST(UninstallManifest, BlankLinesOfAsciiAndFullWidthSpacesAreSkipped) {
    const std::string text = std::string("[File]\r\n\r\n   \r\n") + kFullWidthSpace + " " +
                             kFullWidthSpace + "\r\n1=a\r\n" + kFullWidthSpace + "2=b\r\n";
    const UninstallManifest manifest = Parsed(text);
    ASSERT_EQ(manifest.Count("File"), 2u);
    EXPECT_EQ(manifest.Value("File", "1"), "a");
    // A full-width space before text is part of the key.
    EXPECT_EQ(manifest.Value("File", std::string(kFullWidthSpace) + "2"), "b");
    // The bytes A1 A1 straddling two characters are no space: "啊" is B0 A1.
    EXPECT_EQ(Parsed("[File]\n\xB0\xA1\xA1=x\n").Count(), 1u);
}

TEST(UninstallManifest, LinesSplitAtTheFirstEqualsSignUntrimmed) {
    const UninstallManifest manifest = Parsed("[S]\na=b=c\na =b\n  k=v  \nempty=\nnoequals\n"
                                              "=novalue\n;c=1\n");
    EXPECT_EQ(manifest.Value("S", "a"), "b=c");
    EXPECT_EQ(manifest.Value("S", "a "), "b");
    EXPECT_EQ(manifest.Value("S", "  k"), "v");
    EXPECT_EQ(manifest.Value("S", "empty"), "");
    // No comment syntax: ";c" is an ordinary key.
    EXPECT_EQ(manifest.Value("S", ";c"), "1");
    EXPECT_EQ(manifest.Count("S"), 5u);
}

TEST(UninstallManifest, RepeatedKeysReplaceInPlaceAndLookupsAreExact) {
    const UninstallManifest manifest = Parsed("[File]\n1=x\n2=z\n[Directory]\n1=d\n[File]\n1=y\n");
    ASSERT_EQ(manifest.Count("File"), 2u);
    EXPECT_EQ(manifest.Entries()[0].key, "1");
    EXPECT_EQ(manifest.Entries()[0].value, "y");
    EXPECT_EQ(manifest.Value("Directory", "1"), "d");
    EXPECT_EQ(manifest.Sections(), (std::vector<std::string>{"File", "Directory"}));
    EXPECT_EQ(manifest.Value("file", "1"), "");
    EXPECT_EQ(manifest.Value("File", ""), "");
    EXPECT_EQ(manifest.Value("", "1"), "");
    EXPECT_EQ(manifest.Value("File", "3"), "");
    EXPECT_EQ(manifest.Count(), 3u);
    // LF alone ends a line as well as CR LF; a last line without a break counts.
    EXPECT_EQ(Parsed("[File]\n1=a\r\n2=b").Value("File", "2"), "b");
}

TEST(UninstallManifest, LoadsThroughAWidePathAndTellsOnlyWhetherItOpened) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder = std::filesystem::path(temp) / L"清单测试";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / L"uninstall.dat";
    {
        std::ofstream out(file, std::ios::binary);
        out << "[File]\r\n1=" << kFileInChinese << "\\a.txt\r\n";
    }
    const std::filesystem::path empty = folder / L"empty.dat";
    std::ofstream(empty, std::ios::binary).close();

    UninstallManifest manifest;
    ASSERT_TRUE(manifest.Load(file.wstring()));
    EXPECT_EQ(manifest.FileName(), file.wstring());
    EXPECT_EQ(manifest.Value("File", "1"), std::string(kFileInChinese) + "\\a.txt");
    UninstallManifest nothing;
    EXPECT_TRUE(nothing.Load(empty.wstring()));
    EXPECT_EQ(nothing.Count(), 0u);
    EXPECT_FALSE(UninstallManifest().Load((folder / L"missing.dat").wstring()));
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kodaro::uninstall
