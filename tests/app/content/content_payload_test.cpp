#include "app/content/content_payload.h"

#include <gtest/gtest.h>

#include <set>

using kodaro::ComposePayload;
using kodaro::ContentFields;
using kodaro::ContentType;

TEST(ContentPayload, UntouchedCardIsTwelveLinesWithoutTrailingBreak) {
    ContentFields fields;
    EXPECT_EQ(ComposePayload(ContentType::Card, fields),
              L"BEGIN:VCARD\r\nVERSION:3.0\r\nN:\r\nEMAIL:\r\nTEL:\r\nFAX:\r\nADR:\r\nORG:\r\n"
              L"TITLE:\r\nURL:http://\r\nNOTE:\r\nEND:VCARD");
}

TEST(ContentPayload, CardKeepsPropertyOrderAndEscapesValuesButNotTheUrl) {
    ContentFields f;
    f.cardName = L"张三";
    f.cardEmail = L"z@example.com";
    f.cardPhone = L"+86 10 1234";
    f.cardFax = L"5678";
    f.cardAddress = L"1 Road, Beijing; China";
    f.cardHomepage = L"http://example.com/a,b;c";
    f.cardCompany = L"Kodaro\\Labs";
    f.cardTitle = L"Dev";
    f.cardNote = L"line one\r\nline two\nthree";
    EXPECT_EQ(ComposePayload(ContentType::Card, f),
              L"BEGIN:VCARD\r\nVERSION:3.0\r\nN:张三\r\nEMAIL:z@example.com\r\nTEL:+86 10 1234\r\n"
              L"FAX:5678\r\nADR:1 Road\\, Beijing\\; China\r\nORG:Kodaro\\\\Labs\r\nTITLE:Dev\r\n"
              L"URL:http://example.com/a,b;c\r\nNOTE:line one\\nline two\\nthree\r\nEND:VCARD");
}

TEST(ContentPayload, WirelessTemplates) {
    ContentFields f;
    f.wifiSsid = L"abc";
    f.wifiEncryption = kodaro::WifiOpen;
    EXPECT_EQ(ComposePayload(ContentType::Wireless, f), L"WIFI:S:abc;P:;");
    f.wifiPassword = L"xyz";
    f.wifiEncryption = kodaro::WifiWpa;
    EXPECT_EQ(ComposePayload(ContentType::Wireless, f), L"WIFI:T:WPA;S:abc;P:xyz;");
    f.wifiEncryption = kodaro::WifiWep;
    EXPECT_EQ(ComposePayload(ContentType::Wireless, f), L"WIFI:T:WEP;S:abc;P:xyz;");
}

TEST(ContentPayload, WirelessEscapesSeparatorsInNameAndPassword) {
    ContentFields f;
    f.wifiSsid = L"my;net,\"5G\"";
    f.wifiPassword = L"a:b\\c";
    EXPECT_EQ(ComposePayload(ContentType::Wireless, f),
              L"WIFI:T:WPA;S:my\\;net\\,\\\"5G\\\";P:a\\:b\\\\c;");
}

TEST(ContentPayload, EmptyFieldsKeepTheirPrefixes) {
    ContentFields f;
    EXPECT_EQ(ComposePayload(ContentType::Message, f), L"SMSTO::");
    EXPECT_EQ(ComposePayload(ContentType::Dial, f), L"TEL:");
    EXPECT_EQ(ComposePayload(ContentType::Text, f), L"");
    EXPECT_EQ(ComposePayload(ContentType::WebAddress, f), L"");
    EXPECT_EQ(ComposePayload(static_cast<ContentType>(7), f), L"");
    EXPECT_EQ(ComposePayload(static_cast<ContentType>(0), f), L"");
}

TEST(ContentPayload, PlainKindsPassFieldsUnchanged) {
    ContentFields f;
    f.text = L"第一行\r\n second, line; \\";
    f.webAddress = L"example.com/path?q=1";
    f.dialNumber = L"10086";
    f.messageNumber = L"10010";
    f.messageText = L"hi: there";
    EXPECT_EQ(ComposePayload(ContentType::Text, f), f.text);
    EXPECT_EQ(ComposePayload(ContentType::WebAddress, f), L"example.com/path?q=1");
    EXPECT_EQ(ComposePayload(ContentType::Dial, f), L"TEL:10086");
    EXPECT_EQ(ComposePayload(ContentType::Message, f), L"SMSTO:10010:hi: there");
}

TEST(CommonSites, NineDistinctSitesInDisplayOrder) {
    const wchar_t* names[] = {L"淘宝网",   L"新浪微博", L"QQ空间",   L"腾讯微博", L"人人网",
                              L"搜狐微博", L"开心网",   L"百度贴吧", L"豆瓣网"};
    std::set<std::wstring> hosts;
    for (size_t i = 0; i < kodaro::kCommonSites.size(); ++i) {
        const auto& site = kodaro::kCommonSites[i];
        EXPECT_EQ(std::wstring(site.displayName), names[i]);
        std::wstring host = site.host;
        EXPECT_EQ(host.find(L'/'), std::wstring::npos) << "bare host names only";
        EXPECT_EQ(host.find(L':'), std::wstring::npos);
        hosts.insert(host);
        EXPECT_EQ(kodaro::SiteAddress(site), L"http://" + host + L"/");
    }
    EXPECT_EQ(hosts.size(), 9u);
}
