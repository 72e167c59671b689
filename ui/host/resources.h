// Names of the resources the framework embeds in every program that links it
// (framework.rc).
#pragma once

namespace kodaro::ui {

// RT_RCDATA resource with the caption-button strip (PNG).
inline constexpr wchar_t kSkinStripResource[] = L"KODARO_SKINSTRIP";

} // namespace kodaro::ui
