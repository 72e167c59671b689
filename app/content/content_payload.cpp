#include "app/content/content_payload.h"

namespace kodaro {

const std::array<CommonSite, 9> kCommonSites = {{
    {L"淘宝网", L"taobao", L"www.taobao.com"},
    {L"新浪微博", L"weibo", L"weibo.com"},
    {L"QQ空间", L"qzone", L"qzone.qq.com"},
    {L"腾讯微博", L"tqq", L"t.qq.com"},
    {L"人人网", L"renren", L"www.renren.com"},
    {L"搜狐微博", L"sohu", L"t.sohu.com"},
    {L"开心网", L"kaixin001", L"www.kaixin001.com"},
    {L"百度贴吧", L"tieba", L"tieba.baidu.com"},
    {L"豆瓣网", L"douban", L"www.douban.com"},
}};

std::wstring SiteAddress(const CommonSite& site) {
    return std::wstring(L"http://") + site.host + L"/";
}

namespace {

// vCard 3.0 text values: a backslash, comma or semicolon would otherwise split
// the value, and a raw line break would end the property early.
std::wstring EscapeCardValue(const std::wstring& value) {
    std::wstring out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        wchar_t c = value[i];
        if (c == L'\r') {
            if (i + 1 < value.size() && value[i + 1] == L'\n') {
                ++i;
            }
            out += L"\\n";
        } else if (c == L'\n') {
            out += L"\\n";
        } else {
            if (c == L'\\' || c == L',' || c == L';') {
                out += L'\\';
            }
            out += c;
        }
    }
    return out;
}

// Wi-Fi login fields: scanners treat these characters as separators unless
// they carry a backslash.
std::wstring EscapeWifiValue(const std::wstring& value) {
    std::wstring out;
    out.reserve(value.size());
    for (wchar_t c : value) {
        if (c == L'\\' || c == L';' || c == L',' || c == L':' || c == L'"') {
            out += L'\\';
        }
        out += c;
    }
    return out;
}

std::wstring CardPayload(const ContentFields& f) {
    return L"BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + EscapeCardValue(f.cardName) + L"\r\nEMAIL:" +
           EscapeCardValue(f.cardEmail) + L"\r\nTEL:" + EscapeCardValue(f.cardPhone) + L"\r\nFAX:" +
           EscapeCardValue(f.cardFax) + L"\r\nADR:" + EscapeCardValue(f.cardAddress) + L"\r\nORG:" +
           EscapeCardValue(f.cardCompany) + L"\r\nTITLE:" + EscapeCardValue(f.cardTitle) +
           L"\r\nURL:" + f.cardHomepage + L"\r\nNOTE:" + EscapeCardValue(f.cardNote) +
           L"\r\nEND:VCARD";
}

std::wstring WirelessPayload(const ContentFields& f) {
    const wchar_t* type = L"";
    if (f.wifiEncryption == WifiWpa) {
        type = L"T:WPA;";
    } else if (f.wifiEncryption == WifiWep) {
        type = L"T:WEP;";
    }
    return L"WIFI:" + std::wstring(type) + L"S:" + EscapeWifiValue(f.wifiSsid) + L";P:" +
           EscapeWifiValue(f.wifiPassword) + L";";
}

} // namespace

std::wstring ComposePayload(ContentType kind, const ContentFields& fields) {
    switch (kind) {
    case ContentType::Text:
        return fields.text;
    case ContentType::Card:
        return CardPayload(fields);
    case ContentType::WebAddress:
        return fields.webAddress;
    case ContentType::Dial:
        return L"TEL:" + fields.dialNumber;
    case ContentType::Message:
        return L"SMSTO:" + fields.messageNumber + L":" + fields.messageText;
    case ContentType::Wireless:
        return WirelessPayload(fields);
    }
    return {};
}

} // namespace kodaro
