#pragma once
// The six kinds of content the create page offers and the payload text a QR
// symbol carries for each, composed from the kind's field values.

#include <array>
#include <string>

namespace kodaro {

// Equal to the 1-based row of the kind in the create page's list.
enum class ContentType : int {
    Text = 1,
    Card = 2,
    WebAddress = 3,
    Dial = 4,
    Message = 5,
    Wireless = 6,
};

// The Wi-Fi encryption choice, the 1-based item of its drop-down.
enum WifiEncryption : int {
    WifiWpa = 1,
    WifiWep = 2,
    WifiOpen = 3,
};

// The field values of every kind; only the current kind's are read.
struct ContentFields {
    std::wstring text;

    std::wstring cardName;
    std::wstring cardEmail;
    std::wstring cardPhone;
    std::wstring cardFax;
    std::wstring cardAddress;
    std::wstring cardHomepage = L"http://";
    std::wstring cardCompany;
    std::wstring cardTitle;
    std::wstring cardNote;

    std::wstring webAddress;
    std::wstring dialNumber;
    std::wstring messageNumber;
    std::wstring messageText;

    std::wstring wifiSsid;
    std::wstring wifiPassword;
    int wifiEncryption = WifiWpa;
};

// One web-address shortcut: its caption, its icon (the name of an embedded
// 16 x 16 picture) and the bare host of the site's home page.
struct CommonSite {
    const wchar_t* displayName;
    const wchar_t* iconName;
    const wchar_t* host;
};

extern const std::array<CommonSite, 9> kCommonSites;

// "http://" + host + "/": what a shortcut puts into the address box.
std::wstring SiteAddress(const CommonSite& site);

// The payload for `kind`, built from the fields by the kind's template. Text,
// web address, number and message fields go in unchanged; vCard values and
// Wi-Fi name and password are escaped so scanners read them whole. Any other
// kind gives an empty payload.
std::wstring ComposePayload(ContentType kind, const ContentFields& fields);

} // namespace kodaro
