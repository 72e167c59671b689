#pragma once
// "保存二维码": writes the preview's symbol to a file the user chooses, as a
// BMP (the preview's own bytes), a PNG of the same pixels or an SVG drawing.

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kodaro {

enum class SaveFormat { Bmp, Png, Svg };

// The save dialog's types in the order it offers them; the first is the default.
struct SaveType {
    SaveFormat format;
    std::wstring_view extension;
};
inline constexpr std::array<SaveType, 3> kSaveTypes{{
    {SaveFormat::Bmp, L".bmp"},
    {SaveFormat::Png, L".png"},
    {SaveFormat::Svg, L".svg"},
}};
inline constexpr wchar_t kSaveFilter[] = L"位图文件*.bmp|*.bmp|"
                                         L"PNG 图片*.png|*.png|"
                                         L"SVG 矢量图*.svg|*.svg";

// The type the dialog's 1-based filter number stands for (the first when out
// of range).
SaveFormat SaveFormatOfFilter(DWORD filterIndex);

// Where and how a save writes. A name ending in one of the offered
// extensions (in any case) is written under that name in that extension's
// format, whatever type was chosen, so a file's name always tells its
// contents; any other name gets the chosen type's extension appended.
struct SaveTarget {
    std::wstring path;
    SaveFormat format = SaveFormat::Bmp;
};
SaveTarget ResolveSaveTarget(std::wstring_view chosenPath, SaveFormat chosenType);

// Writes bytes to path, replacing any file there. On failure the result is
// the system's error code and no partial file is left behind.
std::optional<DWORD> WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes);

// The text shown when a save fails: the path and the reason (the system's
// text for an error code).
std::wstring SaveErrorText(const std::wstring& path, std::wstring_view reason);
std::wstring SaveErrorText(const std::wstring& path, DWORD error);

// The name and type picked in the save dialog.
struct SaveChoice {
    std::wstring path;
    SaveFormat format = SaveFormat::Bmp;
};

// What the save command asks of the desktop; tests replace them.
struct SaveCommandHooks {
    // Asks for the file name (the save dialog, opening with the name and
    // type given); nothing on cancel.
    std::function<std::optional<SaveChoice>(HWND owner, const SaveChoice& initial)> chooseFile;
    // Asks whether the existing file at path may be replaced.
    std::function<bool(HWND owner, const std::wstring& path)> confirmReplace;
    // Tells the user the file could not be written.
    std::function<void(HWND owner, const std::wstring& text)> showError;
};
// The save dialog titled "保存到:", a yes/no question and an error message box.
SaveCommandHooks DesktopSaveHooks();

// The SVG drawing of the preview's symbol (UTF-8); nothing when none can be made.
using SvgMaker = std::function<std::optional<std::string>()>;

// The file bytes of a format for the preview's BMP bytes: those bytes as
// they are, a PNG of the same pixels, or the drawing of makeSvg; nothing when
// they cannot be made.
std::optional<std::vector<std::uint8_t>>
ExportBytes(SaveFormat format, std::span<const std::uint8_t> previewBytes, const SvgMaker& makeSvg);

enum class SaveOutcome { Cancelled, Saved, Failed };

// Asks for a file name and type and writes the preview there: BMP as the
// preview's bytes are (empty bytes give an empty file), PNG as the same
// pixels, SVG as makeSvg draws it. When the name written is not the one the
// dialog checked (an extension was appended) and that file exists, the user
// is asked first; "no" goes back to the dialog. A failed write is shown.
SaveOutcome SaveSymbolCommand(HWND owner, std::span<const std::uint8_t> previewBytes,
                              const SvgMaker& makeSvg,
                              const SaveCommandHooks& hooks = DesktopSaveHooks());

} // namespace kodaro
