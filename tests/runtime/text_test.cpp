#include "runtime/text.h"

#include <gtest/gtest.h>
#include <windows.h>

TEST(Text, ConvertsBetweenCodePage936Utf8AndUtf16) {
    ASSERT_EQ(GetACP(), 936u) << "tests run with the Chinese code page";
    const std::string gbk = "\xD6\xD0\xCE\xC4 ok"; // 中文 ok
    const std::wstring wide = L"中文 ok";
    EXPECT_EQ(kodaro::AnsiToWide(gbk), wide);
    EXPECT_EQ(kodaro::WideToAnsi(wide), gbk);
    EXPECT_EQ(kodaro::WideToUtf8(wide), "\xE4\xB8\xAD\xE6\x96\x87 ok");
    EXPECT_EQ(kodaro::Utf8ToWide("\xE4\xB8\xAD\xE6\x96\x87 ok"), wide);
}

TEST(Text, KeepsTextTheCodePageCannotHoldInUtf8) {
    const std::wstring emoji = L"a\U0001F600b";
    EXPECT_EQ(kodaro::Utf8ToWide(kodaro::WideToUtf8(emoji)), emoji);
    EXPECT_EQ(kodaro::AnsiToWide(""), L"");
    EXPECT_EQ(kodaro::WideToUtf8(L""), "");
}
