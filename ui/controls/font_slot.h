// The font of a control: either the framework's shared default font, which is
// never deleted, or a font the control owns.
#pragma once

#include "ui/draw/defaults.h"
#include "ui/draw/gdiplus.h"
#include "ui/draw/text.h"

#include <optional>
#include <string>
#include <string_view>

namespace kodaro::ui {

class FontSlot {
public:
    Gdiplus::GpFont* get() const { return owned_ ? owned_.get() : shared_; }
    bool IsShared() const { return !owned_ && shared_ != nullptr; }

    void UseDefault() {
        owned_.reset();
        shared_ = DefaultFont();
    }

    // Takes over font; the shared default font is only borrowed.
    void Take(Gdiplus::GpFont* font) {
        owned_.reset();
        shared_ = nullptr;
        if (font != nullptr && font == DefaultFont()) {
            shared_ = font;
        } else {
            owned_.reset(font);
        }
    }

    // The shared default font when nothing is given; otherwise a new font of
    // face (default: the default font's face), size (default 12 pixels) and
    // style (default regular). A font that cannot be made leaves the slot null.
    void Make(std::wstring_view face, std::optional<float> size, std::optional<int> style) {
        if (face.empty() && !size && !style) {
            UseDefault();
            return;
        }
        std::wstring name(face.empty() ? FontFaceOf(DefaultFont()) : std::wstring(face));
        Take(CreateUiFont(name, size.value_or(kDefaultFontSize), style.value_or(0)).release());
    }

    // A new font from the current one with one value changed.
    void Change(std::optional<std::wstring_view> face, std::optional<float> size,
                std::optional<int> style) {
        Gdiplus::GpFont* current = get();
        std::wstring name(face ? std::wstring(*face) : FontFaceOf(current));
        float newSize = size ? *size : (current ? FontSizeOf(current) : kDefaultFontSize);
        int newStyle = style ? *style : FontStyleOf(current);
        Take(CreateUiFont(name, newSize, newStyle).release());
    }

    void Reset() {
        owned_.reset();
        shared_ = nullptr;
    }

private:
    UniqueFont owned_;
    Gdiplus::GpFont* shared_ = nullptr;
};

} // namespace kodaro::ui
