// Names of the artwork embedded in the uninstaller (uninstall.rc).
#pragma once

namespace kodaro::uninstall {

// RT_RCDATA resource with the window's 600 x 435 background (JPEG).
inline constexpr wchar_t kBackgroundResource[] = L"KODARO_UNINSTALL_BACKGROUND";

} // namespace kodaro::uninstall
