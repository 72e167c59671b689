#pragma once
// The styling of a rendered symbol, as chosen on the beautify page.

#include "ui/draw/color.h"

#include <string>

namespace kodaro {

// Shape of the frame drawn around the logo ("矩形", "圆角", "无").
enum class LogoBorder { Rectangle, Rounded, None };

// The values one render reads from the beautify page. The page's controls
// belong to the user-interface thread, so the worker takes a copy of them
// before it renders; nothing of it outlives the render.
struct SymbolStyle {
    bool foregroundIsPicture = false;
    ui::Argb foregroundColor = 0xFE000000;
    bool backgroundIsPicture = false;
    ui::Argb backgroundColor = 0xFEFFFFFF;
    // The logo is drawn only while this names an existing file.
    std::wstring logoPath;
    LogoBorder logoBorder = LogoBorder::Rectangle;
    // Side length chosen in the size box; it sets the logo's largest size.
    int side = 256;
};

// Whatever holds the styling controls (the beautify page) hands out a
// consistent copy of their values.
class StyleSource {
public:
    virtual ~StyleSource() = default;
    virtual SymbolStyle ReadStyle() = 0;
};

} // namespace kodaro
