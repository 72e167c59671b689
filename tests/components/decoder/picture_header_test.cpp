// The header checks on real files of every format and on every cut of them;
// under the sanitizers a read outside the given bytes fails the test.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "components/decoder/picture_header.h"

namespace kodaro::components {
namespace {

constexpr int64_t kLimit = 50'000'000;

std::vector<uint8_t> ReadData(const std::string& name) {
    std::ifstream in(std::string(KODARO_SOURCE_DIR) + "/tests/data/decoder/" + name,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PictureHeader, ReadsTheSizeOfEveryFormat) {
    const struct {
        const char* name;
        PictureFormat format;
        int side;
    } files[] = {
        {"v3m_abc.png", PictureFormat::Png, 148},  {"v3m_abc.bmp", PictureFormat::Bmp, 148},
        {"v3m_abc.jpg", PictureFormat::Jpeg, 148}, {"v3m_abc.gif", PictureFormat::Gif, 148},
        {"v3m_abc.tif", PictureFormat::Tiff, 148}, {"v3m_abc.ico", PictureFormat::Ico, 128}};
    for (const auto& f : files) {
        const std::vector<uint8_t> bytes = ReadData(f.name);
        ASSERT_FALSE(bytes.empty()) << f.name;
        const PictureHeader h = ReadPictureHeader(bytes, kLimit);
        EXPECT_EQ(h.verdict, HeaderVerdict::Fits) << f.name;
        EXPECT_EQ(h.format, f.format) << f.name;
        EXPECT_EQ(h.width, f.side) << f.name;
        EXPECT_EQ(h.height, f.side) << f.name;
        // Only a GIF is cut, just before its trailer.
        EXPECT_EQ(h.keepBytes, f.format == PictureFormat::Gif ? bytes.size() - 1 : bytes.size())
            << f.name;
        // The same picture is too large for a limit one pixel below it.
        EXPECT_EQ(ReadPictureHeader(bytes, int64_t{f.side} * f.side - 1).verdict,
                  HeaderVerdict::TooLarge)
            << f.name;
    }
}

TEST(PictureHeader, StaysInsideEveryCutOfAFile) {
    for (const char* name : {"v3m_abc.png", "v3m_abc.bmp", "v3m_abc.jpg", "v3m_abc.gif",
                             "v3m_abc.tif", "v3m_abc.ico"}) {
        const std::vector<uint8_t> whole = ReadData(name);
        // Every cut through the headers, then samples through the data.
        for (size_t length = 0; length < whole.size(); length += length < 1024 ? 1 : 97) {
            // A copy of exactly `length` bytes, so the sanitizer sees any read beyond.
            const std::vector<uint8_t> cut(whole.begin(),
                                           whole.begin() + static_cast<std::ptrdiff_t>(length));
            const PictureHeader h = ReadPictureHeader(cut, kLimit);
            EXPECT_LE(h.keepBytes, length) << name;
            // Uncompressed rows and icon images that the file no longer
            // holds are refused.
            const std::string n = name;
            if (n.ends_with(".bmp") || n.ends_with(".ico")) {
                EXPECT_NE(h.verdict, HeaderVerdict::Fits) << name << " cut at " << length;
            }
        }
    }
}

TEST(PictureHeader, RefusesUnknownFormats) {
    for (const std::string text : {"", "P5 2 2 255\n", "not a picture at all", "RIFF....WEBP"}) {
        const std::vector<uint8_t> bytes(text.begin(), text.end());
        EXPECT_EQ(ReadPictureHeader(bytes, kLimit).verdict, HeaderVerdict::Malformed) << text;
    }
}

} // namespace
} // namespace kodaro::components
