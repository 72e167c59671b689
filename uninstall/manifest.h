// The installer's list of what it created ("uninstall.dat"): an ordered
// store of (section, key, value) settings read from code-page-936 text.
//
// Format, line by line (CR LF or LF):
//   - a line that is empty or holds only ASCII and full-width spaces is skipped;
//   - otherwise trailing ASCII spaces go, leading spaces stay;
//   - a line starting with "[" names the section: the line without its first
//     and last characters ("[File]" gives "File");
//   - any other line is split at its first "=" into key and value, both kept
//     as they are; a line without "=" is ignored;
//   - an entry with an empty key or section is ignored; a repeated key of a
//     section replaces the earlier value in place.
// There are no comments. Sections and keys compare byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kodaro::uninstall {

struct ManifestEntry {
    std::string section;
    std::string key;
    std::string value;
};

class UninstallManifest {
public:
    // Reads the file (wide path) and applies its lines. True when the file
    // could be opened, whatever it holds.
    bool Load(std::wstring_view path);
    // Applies every line of text (code-page-936 bytes).
    void Parse(std::string_view text);
    // Applies one line (without its line break).
    void ApplyLine(std::string_view line);

    // A copy of the value; empty when section or key is empty or nothing matches.
    std::string Value(std::string_view section, std::string_view key) const;
    // Number of entries of the section.
    std::size_t Count(std::string_view section) const;
    // Number of all entries.
    std::size_t Count() const { return entries_.size(); }

    const std::wstring& FileName() const { return fileName_; }
    const std::vector<ManifestEntry>& Entries() const { return entries_; }
    // Distinct section names in the order first seen.
    const std::vector<std::string>& Sections() const { return sections_; }

private:
    std::wstring fileName_;
    std::vector<ManifestEntry> entries_;
    std::vector<std::string> sections_;
    std::string currentSection_;
};

} // namespace kodaro::uninstall
