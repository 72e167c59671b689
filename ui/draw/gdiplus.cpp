#include "ui/draw/gdiplus.h"

#include "ui/draw/defaults.h"

namespace kodaro::ui {

GdiplusSession::GdiplusSession() = default;

// The defaults are GDI+ objects: they go while GDI+ still runs (the session
// member shuts it down after this body).
GdiplusSession::~GdiplusSession() {
    if (ok()) {
        ReleaseDrawDefaults();
    }
}

} // namespace kodaro::ui
