#include "ui/draw/gdiplus.h"

#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    kodaro::ui::GdiplusSession gdiplus;
    if (!gdiplus.ok()) {
        std::fprintf(stderr, "GDI+ did not start\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
