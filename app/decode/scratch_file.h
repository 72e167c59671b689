#pragma once
// A file of its own in the temporary folder for one decode: the decoder
// component reads pictures from a path, so pictures from the web or the
// preview are written there first.

#include <cstdint>
#include <span>
#include <string>

namespace kodaro {

// Creates a fresh, uniquely named empty file in the temporary folder (TMP,
// else TEMP, else the system's choice) and deletes it when it goes out of
// scope, whatever happened in between. A file another program keeps there is
// never touched.
class ScratchFile {
public:
    ScratchFile();
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // False when no file could be created (the temporary folder is missing
    // or full); the path is empty then.
    bool Created() const { return !path_.empty(); }
    const std::wstring& Path() const { return path_; }

    // Replaces the contents with bytes. False on any failure.
    bool Write(std::span<const std::uint8_t> bytes) const;
    // Replaces the contents with a copy of the file at source; on failure
    // the scratch file is removed and GetLastError tells why.
    bool CopyFrom(const std::wstring& source);

private:
    std::wstring path_;
};

} // namespace kodaro
