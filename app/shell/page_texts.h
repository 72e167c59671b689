// The texts the page painter draws beside the controls of each page.
#pragma once

#include "app/content/content_payload.h"

namespace kodaro {

inline constexpr wchar_t kInputHeading[] = L"信息录入";
inline constexpr wchar_t kDescriptionHeading[] = L"功能描述";
inline constexpr wchar_t kAboutHeading[] = L"关于程序";
inline constexpr wchar_t kVersionHeading[] = L"版本信息";
inline constexpr wchar_t kSizeCaption[] = L"宽高像素:";
inline constexpr wchar_t kCounterCaption[] = L"已输入字符数:";

// The label block and help text of a create-page content kind.
struct KindTexts {
    const wchar_t* labels;
    const wchar_t* help;
};

// Texts of the content kind; the text kind's for a kind out of range.
const KindTexts& TextsOfKind(ContentType kind);

// The hint drawn under the dial kind's number box.
inline constexpr wchar_t kDialHint[] = L"请输入电话号码或手机号码,号码可以包括区号";

inline constexpr wchar_t kDecodeLabels[] = L"文件类型\r\n\r\n文件路径\r\n\r\n文件描述";
inline constexpr wchar_t kDecodeHelp[] = L"本功能可解码二维码图片所包含的信息内容.";
inline constexpr wchar_t kBeautifyLabels[] =
    L"Logo图标\r\n\r\nLogo边框\r\n\r\n前景类型\r\n\r\n前景选项\r\n\r\n背景类型\r\n\r\n背景选项";
inline constexpr wchar_t kBeautifyHelp[] =
    L"本功能可对生成的二维码进行美化等操作.\r\n提示:前景色比背景色更深,手机比较容易识别.";

inline constexpr wchar_t kAboutText[] =
    L"Kodaro是Kodaro工作室制作的一款免费二维码工具.\r\n"
    L"\r\n"
    L"Kodaro有以下功能\r\n"
    L"1 把任意文本生成对应的二维码\r\n"
    L"2 把你的手机号码邮箱等资料生成二维码名片，用手机扫描（如:微信扫一扫）\r\n"
    L"  即可自动加入通讯录\r\n"
    L"3 把任意网址（新浪微博,qq空间,淘宝店铺等）生成二维码，方便您线下推广营销\r\n"
    L"4 把你的手机号码，电子邮箱生成二维码\r\n"
    L"5 把无线账号和密码生成二维码，直接手机扫描即可加入wifi(仅限安卓系统)\r\n"
    L"6 把手机号码，短信生成二维码直接自动拨号和发短信\r\n"
    L"7 可以对本地二维码，网络上二维码进行解码，获取更多类型二维码信息\r\n"
    L"8 可以对二维码进行美化满足更多自定义化操作";
inline constexpr wchar_t kVersionLine[] =
    L"程序版本:1.0.13.915  用户交流群:www.kodaro.example/group";

} // namespace kodaro
