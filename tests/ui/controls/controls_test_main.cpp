#include "ui/host/framework.h"

#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!kodaro::ui::FrameworkStartup()) {
        std::fprintf(stderr, "the UI framework did not start\n");
        return 1;
    }
    int result = RUN_ALL_TESTS();
    kodaro::ui::FrameworkShutdown();
    return result;
}
