// The page list on the left of the main window: the six content kinds while
// the create page shows, the one row of each other page otherwise.
#pragma once

#include "app/shell/app.h"

namespace kodaro {

// Resource numbers of the content kinds' 24 x 24 icons (kodaro.rc), in the
// order of the kinds.
inline constexpr int kKindIconFirst = 201;

// Creates the 24 x 24 image list with the kinds' icons and the list itself,
// fills it with the kinds, selects the current kind and subscribes to the
// user's choices.
void CreatePageList(App& app);

// Replaces the rows by those of the current page and selects its row: the
// current kind's on the create page, the first on the others.
void FillPageList(App& app);

// A row chosen by the user (1-based): on the create page, the kind switch.
void OnPageListChanged(App& app, int row);

} // namespace kodaro
