// The beautify page's choosers: the ".." buttons that pick a picture for the
// logo, the foreground or the background, and the two colour swatches.
#pragma once

#include "app/shell/app.h"
#include "ui/draw/color.h"

#include <optional>

namespace kodaro {

// A ".." button of the beautify page: the chosen picture's path goes into
// the button's path box, whose change notification loads it. A cancelled
// dialog changes nothing. False when control is no such button.
bool BrowseStylePicture(App& app, ui::Control* control);

// A colour swatch: the colour chosen in the colour dialog becomes both of
// its gradient colours and the preview follows. A cancelled dialog changes
// nothing. False when control is no swatch.
bool PickSwatchColor(App& app, ui::Control* control);

// The system colour dialog owned by owner, opened on black with the custom
// colours panel shown; the chosen colour, or nothing when cancelled.
std::optional<ui::ColorRef> ChooseColorValue(HWND owner);

} // namespace kodaro
