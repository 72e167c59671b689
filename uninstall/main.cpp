// The uninstaller's entry: framework start, then the stage the command line
// asks for.
#include "ui/host/framework.h"
#include "uninstall/stages.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (!kodaro::ui::FrameworkStartup()) {
        return 1;
    }
    const int code = kodaro::uninstall::RunUninstaller();
    kodaro::ui::FrameworkShutdown();
    return code;
}
