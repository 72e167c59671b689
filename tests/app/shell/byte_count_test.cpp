#include "app/shell/byte_count.h"

#include <gtest/gtest.h>

namespace kodaro {
namespace {

TEST(ByteCount, ChineseTakesTwoBytesAndALineBreakTwo) {
    EXPECT_EQ(ByteCountCaption(L""), L"0");
    EXPECT_EQ(ByteCountCaption(L"中"), L"2");
    EXPECT_EQ(ByteCountCaption(L"中\r\n"), L"4");
    EXPECT_EQ(ByteCountCaption(L"ab中文\r\nc"), L"9");
}

TEST(ByteCount, CharactersTheCodePageLacksCountAsTheirStandIn) {
    // A Devanagari letter and a character outside the basic plane have no
    // GBK form; each becomes "?".
    EXPECT_EQ(CodePageByteCount(L"\u0915"), 1);
    EXPECT_EQ(CodePageByteCount(L"a\u0915b"), 3);
    EXPECT_GE(CodePageByteCount(L"\U0001F600"), 1);
}

} // namespace
} // namespace kodaro
