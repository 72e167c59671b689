// The main window's pages: building every control, switching pages by tab,
// and the window's click and message handlers.
#pragma once

#include "app/shell/app.h"

#include <cstdint>
#include <optional>
#include <span>

namespace kodaro {

// Attaches the main window (app.mainWindowHandle must exist), creates the
// controls, shows the window and registers the handlers. False, with nothing
// built, when the window cannot be attached.
[[nodiscard]] bool BuildMainWindow(App& app);

// Shows (show true) or hides the page of a tab. False, doing nothing, when
// tab is not one of the four page tabs.
bool ShowPage(App& app, ui::Control* tab, bool show);

// Puts a picture into the preview with the scan check's verdict on it;
// without one (a decoded picture, a symbol not checked) the mark hides.
void ShowInPreview(App& app, std::span<const std::uint8_t> picture,
                   const std::optional<ScanVerdict>& verdict,
                   PreviewContent content = PreviewContent::Picture);

// The window's EventClick.
void OnMainWindowClick(App& app, ui::Control* control, int kind);

// The window's EventMessage: window close and destroy, the preview toolbar
// that shows while the mouse is over the preview, and pictures dropped on the
// window or pasted on the decode page. -1 but for the drop and a paste taken.
LRESULT OnMainWindowMessage(App& app, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace kodaro
