// One regeneration of the preview on the worker thread: a copy of the inputs
// from the main window, the symbol encoded and rendered, the picture handed
// back. Everything that touches controls runs on the user-interface thread,
// reached through SendMessage to the main window.
#pragma once

#include "app/content/content_payload.h"
#include "app/decode/scan_verdict.h"
#include "app/symbol/encode_symbol.h"
#include "app/symbol/symbol_style.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kodaro {

// What a regeneration reads from the main window.
struct PreviewInputs {
    bool read = false;
    ContentType kind = ContentType::Text;
    ContentFields fields;
    EcLevel level = kDefaultEcLevel;
    int side = 256;
    SymbolStyle style;
};

// What a regeneration hands the preview: the picture and how it scans
// (nothing when it could not be checked).
struct CheckedPreview {
    std::vector<std::uint8_t> picture;
    std::optional<ScanVerdict> verdict;
};

// Messages the worker sends to the main window: fill the PreviewInputs in
// lParam (setting `read`), and show the CheckedPreview in lParam.
inline constexpr UINT kReadPreviewInputs = WM_APP + 1;
inline constexpr UINT kShowPreviewPicture = WM_APP + 2;

// The styled symbol of the inputs as BMP bytes (empty when nothing could be
// rendered).
std::vector<std::uint8_t> MakePreviewPicture(const PreviewInputs& inputs);

// The picture of MakePreviewPicture with its scan check.
CheckedPreview MakeCheckedPreview(const PreviewInputs& inputs);

// The picture of MakePreviewPicture made on the calling thread, in turn with
// the worker's renders; nothing once regeneration has ended.
std::optional<std::vector<std::uint8_t>> RenderPreviewNow(const PreviewInputs& inputs);

// The SVG drawing of the symbol MakePreviewPicture renders, made on the
// calling thread in turn with the worker's renders; nothing once
// regeneration has ended or when no symbol came out.
std::optional<std::string> DrawPreviewSvgNow(const PreviewInputs& inputs);

// The worker's regeneration for the main window. Returns without a picture
// when the window is gone.
void RegeneratePreview(HWND mainWindow);

// For the end of the process, before GDI+ shuts down: waits for an encode
// and render in progress and keeps any later one from starting. Never waits
// on the worker while it waits on the user-interface thread.
void EndPreviewRegeneration();

} // namespace kodaro
