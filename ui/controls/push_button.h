// The plain command button with the framework's glass look.
#pragma once

#include "ui/controls/button_base.h"

namespace kodaro::ui {

class PushButton : public ButtonBase {};

} // namespace kodaro::ui
