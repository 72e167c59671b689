// GDI+ and COM run for the whole test program, as they do in Kodaro.

#include "ui/draw/gdiplus.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(OleInitialize(nullptr))) {
        return 1;
    }
    int result = 1;
    {
        const kodaro::ui::GdiplusSession gdiplus;
        if (gdiplus.ok()) {
            result = RUN_ALL_TESTS();
        }
    }
    OleUninitialize();
    return result;
}
