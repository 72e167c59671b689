// The decode page's commands: the picture's source, the chooser, decoding
// into the result box, and the preview's full-size view.
#pragma once

#include "app/shell/app.h"

#include <string>
#include <vector>

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

// Files dropped on the window or pasted, the decode page showing: one
// picture file is decoded as if chosen with ".."; several files or a folder
// get a message in the result box. Ignored while a decode is running.
void DecodeHandedFiles(App& app, const std::vector<std::wstring>& files);

// A key on the decode page: Control+V or Shift+Insert with files or a
// picture on the clipboard decodes them (a picture through the preview).
// False, changing nothing, for other keys, when the clipboard holds neither,
// or when it holds text and the path box has the focus to take it.
bool PasteIntoDecodePage(App& app, WPARAM key);

// The preview caption: the preview's picture at its own size.
void ShowPreviewFullSize(App& app);

} // namespace kodaro
