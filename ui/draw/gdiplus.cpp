#include "ui/draw/gdiplus.h"

#include "ui/draw/defaults.h"

namespace kodaro::ui {

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) {
        token_ = 0;
    }
}

GdiplusSession::~GdiplusSession() {
    if (token_ == 0) {
        return;
    }
    ReleaseDrawDefaults();
    Gdiplus::GdiplusShutdown(token_);
}

} // namespace kodaro::ui
