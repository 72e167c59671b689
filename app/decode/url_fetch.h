#pragma once
// Downloads through the system's "Microsoft.XMLHTTP" automation object.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kodaro {

// How long a download may take before it is given up.
inline constexpr DWORD kFetchTimeoutMs = 20000;

struct FetchRequest {
    // Compared without regard to case; "post" without a header of its own
    // is sent as a form.
    std::wstring method = L"get";
    std::vector<std::uint8_t> body;
    // One extra request header, sent when the name is not empty.
    std::wstring headerName;
    std::wstring headerValue;
    // Credentials, sent when a user name is given.
    std::optional<std::wstring> user;
    std::wstring password;
    DWORD timeoutMs = kFetchTimeoutMs;
};

struct FetchResult {
    // The request ended in time with a status: an HTTP response, or on
    // Windows a WinInet error number (12000 and up).
    bool completed = false;
    // The status of a completed request.
    long status = 0;
    // The response body as it arrived, whatever the status.
    std::vector<std::uint8_t> body;

    // A complete HTTP response with a success status (2xx).
    bool Succeeded() const { return completed && status >= 200 && status < 300; }
};

// Sends the request and waits for the whole response, at most
// request.timeoutMs (the request is aborted then). While it waits the
// thread's windows keep painting but take no keyboard or mouse input, so a
// user cannot start anything else meanwhile. Nothing completes when the
// object cannot be created, the address is refused or the wait ends early
// (WM_QUIT is then posted again).
FetchResult FetchUrlBytes(const std::wstring& address, const FetchRequest& request = {});

} // namespace kodaro
