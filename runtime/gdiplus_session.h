// GDI+ started for as long as the object lives (version 1). A process makes
// one before it draws, loads or encodes pictures, and ends it after every
// GDI+ object it made is gone.
#pragma once

#include <windows.h>

namespace kodaro {

class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    // Whether GDI+ started.
    bool ok() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

} // namespace kodaro
