#include "app/shell/label_columns.h"

#include <gtest/gtest.h>

namespace kodaro {
namespace {

TEST(LabelColumns, TwoColumnBlockKeepsEveryLabelOnItsLine) {
    const LabelColumns columns = SplitLabelColumns(
        L"    姓名                  电子邮箱\r\n\r\n联系电话                  传真号码\r\n\r\n"
        L"联系地址\r\n\r\n公司名称                  职位名称\r\n\r\n备注信息");
    EXPECT_EQ(columns.left,
              L"    姓名\r\n\r\n联系电话\r\n\r\n联系地址\r\n\r\n公司名称\r\n\r\n备注信息");
    EXPECT_EQ(columns.right, L"电子邮箱\r\n\r\n传真号码\r\n\r\n\r\n\r\n职位名称\r\n\r\n");
}

TEST(LabelColumns, SingleColumnBlocksAreLeftAlone) {
    for (const wchar_t* block : {L"", L"文本内容", L"网站地址\r\n\r\n常用网站",
                                 L"Logo图标 x\r\n\r\nLogo边框", L"  缩进  \r\n"}) {
        const LabelColumns columns = SplitLabelColumns(block);
        EXPECT_TRUE(columns.right.empty()) << columns.right.size();
    }
    EXPECT_EQ(SplitLabelColumns(L"Logo图标 x\r\n\r\nLogo边框").left, L"Logo图标 x\r\n\r\nLogo边框");
    EXPECT_EQ(SplitLabelColumns(L"  缩进  \r\n").left, L"  缩进\r\n");
}

} // namespace
} // namespace kodaro
