// The create page's input boxes: one group per content kind, the byte
// counters of the two long texts and the nine site shortcuts of the web
// address kind.
#pragma once

#include "app/shell/app.h"

namespace kodaro {

// Resource numbers of the site shortcuts' 16 x 16 icons (kodaro.rc), in the
// order of the site table.
inline constexpr int kSiteIconFirst = 211;

// Creates every kind's controls; only the current kind's are visible.
void CreateCreatePage(App& app);

// Shows or hides the boxes, counter and buttons of one kind.
void ShowContentKind(App& app, ContentType kind, bool show);

// The change notification of every input box and picture-path box: the
// counters follow, a path box reloads its picture, and the preview follows.
void OnBoxChanged(App& app, ui::EditBox* box);

// A click on one of the site shortcuts puts its address into the address
// box. False when control is no site shortcut.
bool OnSiteButtonClick(App& app, ui::Control* control);

// The texts of every kind's boxes, for the payload.
void ReadContentFields(App& app, ContentFields& fields);

} // namespace kodaro
