#include "app/cli/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace kodaro {
namespace {

Command Parse(std::vector<std::wstring> arguments) {
    return ParseCommandLine(arguments);
}

TEST(CommandLine, NoArgumentsStartTheWindowAndHelpIsAskedAlone) {
    EXPECT_EQ(Parse({}).kind, CommandKind::Window);
    EXPECT_EQ(Parse({L"--help"}).kind, CommandKind::Help);
    EXPECT_EQ(Parse({L"/?"}).kind, CommandKind::Help);
    EXPECT_EQ(Parse({L"--help", L"--help"}).kind, CommandKind::Bad);
    EXPECT_EQ(Parse({L"--decode", L"a.png", L"--help"}).kind, CommandKind::Bad);
}

TEST(CommandLine, EncodeTakesItsOptionsInAnyOrderWithDefaults) {
    const Command plain = Parse({L"--encode", L"你好 Kodaro", L"--out", L"C:\\a b\\q.bmp"});
    ASSERT_EQ(plain.kind, CommandKind::Encode);
    EXPECT_EQ(plain.text, L"你好 Kodaro");
    EXPECT_EQ(plain.outPath, L"C:\\a b\\q.bmp");
    EXPECT_EQ(plain.format, SaveFormat::Bmp);
    EXPECT_EQ(plain.level, kDefaultEcLevel);
    EXPECT_EQ(plain.side, 256);

    const Command full =
        Parse({L"--size", L"768", L"--level", L"h", L"--out", L"x.bmp", L"--encode", L"--decode"});
    ASSERT_EQ(full.kind, CommandKind::Encode);
    // A value is taken as it stands, even when it looks like an option.
    EXPECT_EQ(full.text, L"--decode");
    EXPECT_EQ(full.level, 3);
    EXPECT_EQ(full.side, 768);

    // The name is kept as given; its extension, in any case, names the format.
    for (const auto& [name, format] :
         std::vector<std::pair<std::wstring, SaveFormat>>{{L"a.PNG", SaveFormat::Png},
                                                          {L"图.svg", SaveFormat::Svg},
                                                          {L"b.Bmp", SaveFormat::Bmp}}) {
        const Command command = Parse({L"--encode", L"t", L"--out", name});
        EXPECT_EQ(command.format, format);
        EXPECT_EQ(command.outPath, name);
    }

    for (const auto& [letter, level] : std::vector<std::pair<std::wstring, EcLevel>>{
             {L"L", 0}, {L"M", 1}, {L"Q", 2}, {L"H", 3}, {L"m", 1}}) {
        EXPECT_EQ(Parse({L"--encode", L"t", L"--out", L"o.bmp", L"--level", letter}).level, level)
            << letter;
    }
}

TEST(CommandLine, SizesAndLevelsAreCheckedStrictly) {
    for (const std::wstring side : {L"128", L"500", L"768", L"0256"}) {
        EXPECT_EQ(Parse({L"--encode", L"t", L"--out", L"o.bmp", L"--size", side}).kind,
                  CommandKind::Encode)
            << side;
    }
    for (const std::wstring side :
         {L"127", L"769", L"", L"-256", L"+256", L"256px", L" 256", L"2.5e2", L"99999999999"}) {
        EXPECT_EQ(Parse({L"--encode", L"t", L"--out", L"o.bmp", L"--size", side}).kind,
                  CommandKind::Bad)
            << side;
    }
    for (const std::wstring level : {L"", L"X", L"LM", L"2", L"高", L"Q "}) {
        EXPECT_EQ(Parse({L"--encode", L"t", L"--out", L"o.bmp", L"--level", level}).kind,
                  CommandKind::Bad)
            << level;
    }
}

TEST(CommandLine, IncompleteMixedOrUnknownArgumentsAreBad) {
    const std::vector<std::vector<std::wstring>> bad = {
        {L"--encode", L"t"},
        {L"--out", L"o.bmp"},
        {L"--encode", L"", L"--out", L"o.bmp"},
        {L"--encode", L"t", L"--out", L""},
        {L"--encode", L"t", L"--out", L"o"},
        {L"--encode", L"t", L"--out", L"o.jpg"},
        {L"--encode", L"t", L"--out", L"o.bmp.txt"},
        {L"--encode", L"t", L"--out"},
        {L"--encode", L"t", L"--out", L"o", L"--out", L"p"},
        {L"--encode", L"t", L"--out", L"o", L"--level", L"Q", L"--level", L"Q"},
        {L"--encode", L"t", L"--out", L"o", L"--color", L"red"},
        {L"--encode", L"t", L"--out", L"o", L"extra"},
        {L"--decode", L"a.png", L"--out", L"o"},
        {L"--decode", L"a.png", L"--size", L"256"},
        {L"--decode", L""},
        {L"--decode"},
        {L"picture.png"},
        {L"-encode", L"t", L"--out", L"o"},
        {L"--ENCODE", L"t", L"--out", L"o"},
    };
    for (const std::vector<std::wstring>& arguments : bad) {
        const Command command = ParseCommandLine(arguments);
        EXPECT_EQ(command.kind, CommandKind::Bad) << arguments[0] << " " << arguments.size();
        EXPECT_FALSE(command.error.empty());
    }
}

TEST(CommandLine, DecodeNamesOnePicture) {
    const Command decode = Parse({L"--decode", L"Z:\\图片 1.png"});
    ASSERT_EQ(decode.kind, CommandKind::Decode);
    EXPECT_EQ(decode.inPath, L"Z:\\图片 1.png");
}

} // namespace
} // namespace kodaro
