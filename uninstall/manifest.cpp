#include "uninstall/manifest.h"

#include "runtime/file_io.h"

#include <windows.h>

#include <algorithm>

namespace kodaro::uninstall {

namespace {

// The ideographic space in the system code page ("\xA1\xA1" under 936);
// empty where the code page has none.
const std::string& FullWidthSpace() {
    static const std::string bytes = [] {
        const wchar_t space = L'\x3000';
        char buffer[8] = {};
        BOOL lossy = FALSE;
        const int length =
            WideCharToMultiByte(CP_ACP, 0, &space, 1, buffer, sizeof buffer, nullptr, &lossy);
        return length == 2 && !lossy ? std::string(buffer, 2) : std::string();
    }();
    return bytes;
}

// Length of the character starting at text[i]: 2 for a lead byte followed by
// a trail byte, else 1.
std::size_t CharLength(std::string_view text, std::size_t i) {
    return i + 1 < text.size() && IsDBCSLeadByte(static_cast<BYTE>(text[i])) ? 2 : 1;
}

bool OnlySpaces(std::string_view line) {
    const std::string& wide = FullWidthSpace();
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t length = CharLength(line, i);
        const std::string_view character = line.substr(i, length);
        if (character != " " && (wide.empty() || character != wide)) {
            return false;
        }
        i += length;
    }
    return true;
}

// The text without its last character (a whole double-byte one).
std::string_view WithoutLastCharacter(std::string_view text) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        last = i;
    }
    return text.substr(0, last);
}

} // namespace

bool UninstallManifest::Load(std::wstring_view path) {
    fileName_ = std::wstring(path);
    HANDLE file = CreateFileW(fileName_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    const std::vector<std::uint8_t> bytes = ReadWholeFile(fileName_);
    Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

void UninstallManifest::Parse(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ApplyLine(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
}

void UninstallManifest::ApplyLine(std::string_view line) {
    if (OnlySpaces(line)) {
        return;
    }
    // A trail byte is never 0x20 in a double-byte code page, so bytes can be
    // trimmed directly.
    line.remove_suffix(line.size() - (line.find_last_not_of(' ') + 1));
    if (line.front() == '[') {
        currentSection_ = std::string(WithoutLastCharacter(line.substr(1)));
        if (!currentSection_.empty() &&
            std::find(sections_.begin(), sections_.end(), currentSection_) == sections_.end()) {
            sections_.push_back(currentSection_);
        }
        return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0 || currentSection_.empty()) {
        return;
    }
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    for (ManifestEntry& entry : entries_) {
        if (entry.section == currentSection_ && entry.key == key) {
            entry.value = std::string(value);
            return;
        }
    }
    entries_.push_back({currentSection_, std::string(key), std::string(value)});
}

std::string UninstallManifest::Value(std::string_view section, std::string_view key) const {
    if (section.empty() || key.empty()) {
        return {};
    }
    for (const ManifestEntry& entry : entries_) {
        if (entry.section == section && entry.key == key) {
            return entry.value;
        }
    }
    return {};
}

std::size_t UninstallManifest::Count(std::string_view section) const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(),
                      [section](const ManifestEntry& entry) { return entry.section == section; }));
}

} // namespace kodaro::uninstall
