// The decode page's commands: the picture's source, the chooser, decoding
// into the result box, and the preview's full-size view.
#pragma once

#include "app/shell/app.h"

namespace kodaro {

// A source radio was clicked: the path box is emptied, then set up for the
// source (a path with ".."; an address starting "http://"; nothing to type
// for the preview). False when source is not one of the three radios.
bool OnDecodeSourceClick(App& app, ui::Control* source);

// The ".." button: a picture chosen in the open dialog goes into the path
// box and the preview. A cancelled dialog changes nothing.
void BrowseDecodePicture(App& app);

// The decode button: the picture of the checked source is decoded and the
// report shown in the result box.
void DecodeCheckedSource(App& app);

// The preview toolbar's decode icon: the decode page with the preview as
// the source, decoded at once.
void DecodeShownSymbol(App& app);

// The preview caption: the preview's picture at its own size.
void ShowPreviewFullSize(App& app);

} // namespace kodaro
