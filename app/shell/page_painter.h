// Draws what the main window shows behind its controls: the frame lines, and
// the headings, labels and help texts of the current page.
#pragma once

#include "app/shell/app.h"

namespace kodaro {

// The window's EventPaint: runs every time the background is rendered.
void PaintPage(const App& app, Gdiplus::GpGraphics* graphics, int width, int height);

} // namespace kodaro
