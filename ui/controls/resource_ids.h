// Resource names of the artwork embedded by controls.rc.
#pragma once

// The radio button glyph strip: 68 x 17 pixels, four 17 x 17 cells (unchecked
// normal, unchecked hot, checked normal, checked hot).
#define IDR_RADIO_GLYPH 4101
