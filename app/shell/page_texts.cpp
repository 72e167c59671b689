#include "app/shell/page_texts.h"

#include <array>

namespace kodaro {

namespace {

const std::array<KindTexts, 6> kKindTexts{{
    {L"文本内容", L"本功可实现存储文本数据,支持普通文本、网址和电子邮箱.(建议内容不超过300个字符,"
                  L"使低配置手机也能扫描到结果)"},
    {L"    姓名                  电子邮箱\r\n\r\n联系电话                  传真号码\r\n\r\n"
     L"联系地址\r\n\r\n主页地址\r\n\r\n公司名称                  职位名称\r\n\r\n备注信息",
     L"本功能编码格式采用VCard国际标准;可生成二维码名片;通过扫描(如:微信),"
     L"可以马上把联系人添加到手机通讯录里."},
    {L"网站地址\r\n\r\n常用网站", L"本功能可添加网站地址,手机扫描后即可打开该网址."},
    {L"电话号码", L"本功能可生成电话二维码,手机扫描二维码后,可以自动拨打该号码."},
    {L"手机号码\r\n\r\n短信内容", L"本功能可生成短信二维码,扫描二维码后将自动输入短信内容."},
    {L"无线帐号\r\n\r\n无线密码\r\n\r\n加密类型",
     L"本功能可生成无线网络二维码,适用于安卓系统,扫描后即可进入设置并链接WIFI帐号;"
     L"无须手工设置即可与朋友共享WiFi链接."},
}};

} // namespace

const KindTexts& TextsOfKind(ContentType kind) {
    const int index = static_cast<int>(kind) - 1;
    if (index < 0 || index >= static_cast<int>(kKindTexts.size())) {
        return kKindTexts[0];
    }
    return kKindTexts[static_cast<std::size_t>(index)];
}

} // namespace kodaro
