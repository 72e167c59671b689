// The two drop-downs that shape the symbol: the error-correction level in the
// info group and the picture size in the bottom bar.
#pragma once

#include "app/shell/app.h"

#include <string_view>

namespace kodaro {

// EcLevelBox inside the info group ("中等 - 25%" current).
void CreateEcLevelBox(App& app);
// SizeBox in the bottom bar ("256" current).
void CreateSizeBox(App& app);

// A new choice in a drop-down that shapes the symbol: the preview follows.
void OnDropDownChanged(App& app);

// The level the encoder gets: the chosen item's position from 0.
int ChosenEcLevel(const App& app);
// The picture's side: the leading decimal digits of SizeBox's text, 0 when
// it has none.
int ChosenSide(const App& app);
int LeadingNumber(std::wstring_view text);

} // namespace kodaro
