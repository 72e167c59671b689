#include "ui/control/control_site.h"

namespace kodaro::ui {

ControlSite* ControlSite::FromWindow(HWND window) {
    if (window == nullptr || !IsWindow(window)) {
        return nullptr;
    }
    return static_cast<ControlSite*>(GetPropW(window, kHostProperty));
}

} // namespace kodaro::ui
