// Kodaro's entry: the process-wide objects, framework start, the updater,
// the main window, the preview worker and the message loop.
#include "app/cli/cli_commands.h"
#include "app/shell/app.h"
#include "app/shell/pages.h"
#include "app/shell/preview_regeneration.h"
#include "app/shell/startup.h"
#include "ui/host/framework.h"

namespace {

using namespace kodaro;

constexpr int kWindowWidth = 680;
constexpr int kWindowHeight = 475;

void OpenStatisticsPage(App& app) {
    ui::WebBrowserHost& browser = *app.objects.statisticsBrowser;
    if (browser.Create(app.mainWindowHandle, 0, 0, 0, 0)) {
        browser.Navigate(kStatisticsAddress);
    }
}

// Everything from the updater to the end of the message loop.
int RunStartup(App& app) {
    app.directory = ProgramDirectory();
    StartUpdater(app.directory);
    if (UpdateWaiting(app.directory)) {
        return 0;
    }
    ui::HostWindowOptions window;
    window.title = L"Kodaro";
    window.width = kWindowWidth;
    window.height = kWindowHeight;
    app.mainWindowHandle = ui::CreateHostWindow(window);
    if (app.mainWindowHandle == nullptr) {
        return 0;
    }
    OpenStatisticsPage(app);
    app.preview.running = true;
    StartPreviewWorker(app.preview, [window = app.mainWindowHandle] { RegeneratePreview(window); });
    if (!BuildMainWindow(app)) {
        DestroyWindow(app.mainWindowHandle);
        return 1;
    }
    ui::RunMessageLoop();
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Started with arguments, Kodaro carries out the command and shows no
    // window.
    if (const std::optional<int> code = RunCommandLine()) {
        return *code;
    }
    // Without GDI+ or the window class there is nothing to show.
    if (!ui::FrameworkStartup()) {
        return 1;
    }
    int code = 0;
    {
        App app;
        code = RunStartup(app);
        EndPreviewRegeneration();
    }
    ui::FrameworkShutdown();
    return code;
}
