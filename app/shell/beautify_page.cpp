#include "app/shell/beautify_page.h"

#include "app/decode/open_dialog.h"

#include <commdlg.h>

#include <array>

namespace kodaro {

namespace {

constexpr ui::ColorRef kWhite = 0xFFFFFF;

} // namespace

bool BrowseStylePicture(App& app, ui::Control* control) {
    AppObjects& o = app.objects;
    ui::EditBox* box = nullptr;
    if (control == &*o.logoBrowseButton) {
        box = &*o.logoPathBox;
    } else if (control == &*o.foregroundBrowseButton) {
        box = &*o.foregroundPathBox;
    } else if (control == &*o.backgroundBrowseButton) {
        box = &*o.backgroundPathBox;
    } else {
        return false;
    }
    if (const std::optional<std::wstring> path = ShowOpenDialog(app.mainWindowHandle)) {
        box->Text(*path, true);
    }
    return true;
}

bool PickSwatchColor(App& app, ui::Control* control) {
    AppObjects& o = app.objects;
    if (control != &*o.foregroundColorSwatch && control != &*o.backgroundColorSwatch) {
        return false;
    }
    if (const std::optional<ui::ColorRef> color = ChooseColorValue(app.mainWindowHandle)) {
        ui::Label& swatch = *static_cast<ui::Label*>(control);
        swatch.GradientColor1(ui::ToArgb(*color));
        swatch.GradientColor2(ui::ToArgb(*color));
        app.preview.dirty = true;
    }
    return true;
}

std::optional<ui::ColorRef> ChooseColorValue(HWND owner) {
    // The dialog keeps its custom colours here while it is open.
    std::array<COLORREF, 16> custom{};
    custom.fill(kWhite);
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = owner;
    choose.rgbResult = 0;
    choose.lpCustColors = custom.data();
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorW(&choose)) {
        return std::nullopt;
    }
    return static_cast<ui::ColorRef>(choose.rgbResult);
}

} // namespace kodaro
