// Resource names of the artwork embedded by controls.rc.
#pragma once

// The radio button glyph strip: 68 x 17 pixels, four 17 x 17 cells (unchecked
// normal, unchecked hot, checked normal, checked hot).
#define IDR_RADIO_GLYPH 4101
// The combo box's frame (40 x 26: two 20 x 26 cells, normal and hot) and
// arrow (30 x 12: two 15 x 12 cells, normal and open).
#define IDR_COMBO_FRAME 4102
#define IDR_COMBO_ARROW 4103
