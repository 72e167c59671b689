#pragma once
// A fixed, varied set of payloads (numeric, alphanumeric, byte, mixed, Chinese
// UTF-8, and the kinds of texts the program composes) shared by the encoder
// tests and the encoder benchmark.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kodaro::codec::testing {

inline std::vector<std::string> PayloadSet() {
    std::vector<std::string> set = {
        "Kodaro",
        "0",
        "01234567",
        "HELLO WORLD",
        "hello, world",
        "https://www.example.com/path?query=1&x=2",
        "HTTP://EXAMPLE.COM/ABC",
        "TEL:+8613800138000",
        "SMSTO:13800138000:今天下午三点开会",
        "WIFI:T:WPA;S:Office Net;P:s3cr3t-pass;;",
        "BEGIN:VCARD\nVERSION:3.0\nN:张;三\nFN:张三\nTEL;TYPE=CELL:13912345678\nEMAIL:zhang@"
        "example.com\n"
        "ORG:示例公司\nADR:;;北京市海淀区中关村大街1号;;;;\nEND:VCARD",
        "二维码生成器：文本、名片、网址、电话、短信和无线网络",
        "ORDER 4711 QTY 000120 LOT 9988776655 EXP 20291231",
        "123456789012345678901234567890abc123456789012345678901234567890",
        "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA",
    };
    // Deterministic pseudo-random payloads of growing length and mixed content.
    std::mt19937 rng(20261207);
    const std::string pieces[] = {"0123456789",       "31415926535897932384", "ABCDEFGHIJ",
                                  "QR CODE $%*+-./:", "lower case text ",     "中文字符",
                                  "mixed-Case_42!",   "2026-12-07 23:59"};
    for (int i = 0; i < 60; ++i) {
        std::string s;
        const size_t target = 10 + static_cast<size_t>(i) * static_cast<size_t>(i) / 2;
        while (s.size() < target)
            s += pieces[rng() % std::size(pieces)];
        set.push_back(s);
    }
    // Long digit and letter runs that need the larger count fields.
    set.push_back(std::string(3000, '7'));
    std::string alnum;
    while (alnum.size() < 2100)
        alnum += "THE QUICK BROWN FOX 0123456789 ";
    set.push_back(alnum);
    return set;
}

} // namespace kodaro::codec::testing
