// Opens the framework's popups over a sample window, for screenshots and the
// whole-program tests.
//   popup_sample menu             a menu with icons, a disabled item, a
//                                 separator and a submenu, which opens itself
//   popup_sample box SET ICON [DEFAULT] [TEXT]
//                                 a message box of button set SET (0-5) and
//                                 icon type ICON; the program's exit code is
//                                 the box's result
#include "runtime/file_io.h"
#include "runtime/text.h"
#include "ui/controls/message_box.h"
#include "ui/draw/shapes.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"
#include "ui/host/popup_menu.h"

#include <cstdlib>
#include <string>
#include <vector>

using namespace kodaro::ui;

namespace {

constexpr UINT kOpenMessage = WM_APP + 1;

std::vector<std::uint8_t> ReadSource(const char* relative) {
    return kodaro::ReadWholeFile(
        kodaro::Utf8ToWide(std::string(KODARO_SOURCE_DIR) + "/" + relative));
}

// Moves the mouse over the menu's first item once the menu is up, so that its
// submenu opens by itself.
void CALLBACK HoverFirstItem(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND menu = FindWindowW(kMenuClassName, nullptr);
    if (menu != nullptr) {
        SendMessageW(menu, WM_MOUSEMOVE, 0, MAKELPARAM(60, 20));
    }
}

int ShowMenu(HostWindow& host) {
    PopupMenu more;
    more.AddItem(L"二维码图片", ReadSource("resources/kinds/text.png"), 21);
    more.AddItem(L"名片", ReadSource("resources/kinds/card.png"), 22);
    more.AddItem(L"无线网络", ReadSource("resources/kinds/wifi.png"), 23);
    PopupMenu menu;
    menu.AddItem(L"新建(&N)", ReadSource("resources/kinds/url.png"), 0, kMenuItemEnabled,
                 kMenuTextColor, &more);
    menu.AddItem(L"剪切(&T)", {}, 88, kMenuItemDisabled);
    menu.AddItem(L"复制(&C)", ReadSource("resources/kinds/message.png"), 67);
    menu.AddItem(L"");
    menu.AddItem(L"全部选择(&A)", {}, 65);
    RECT frame{};
    GetWindowRect(host.Window(), &frame);
    SetTimer(nullptr, 0, 400, HoverFirstItem);
    return static_cast<int>(menu.TrackPopup(&host, frame.left + 60, frame.top + 60));
}

int ShowBox(HWND owner, int argc, char** argv) {
    MessageBoxParams params;
    params.owner = owner;
    params.buttons = std::atoi(argv[2]);
    params.icon = argc > 3 ? std::atoi(argv[3]) : 0;
    if (argc > 4 && std::atoi(argv[4]) > 0) {
        params.defaultButton = std::atoi(argv[4]);
    }
    params.text = argc > 5 ? kodaro::Utf8ToWide(argv[5]) : L"确定要删除这个二维码吗？";
    params.centreOnOwner = true;
    return ShowMessageBox(params);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "menu";
    if (!FrameworkStartup() || (mode == "box" && argc < 3)) {
        return 100;
    }
    HWND window = CreateHostWindow({.title = L"弹出示例 Popups", .width = 480, .height = 320});
    HostWindow host;
    int result = 0;
    host.EventMessage = [&](HWND hwnd, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == kOpenMessage) {
            result = mode == "box" ? ShowBox(hwnd, argc, argv) : ShowMenu(host);
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
            return 0;
        }
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
        }
        return -1;
    };
    host.EventPaint = [](HWND, Gdiplus::GpGraphics* graphics, int width, int) {
        FillGradient(graphics, MakeRectF(6, 6, static_cast<float>(width) - 12, 30), 0xFF3A6EA5,
                     0x003A6EA5);
    };
    if (!host.Attach(window, {.backgroundColor = 0xF0E6DC, .opacity = 255})) {
        return 100;
    }
    host.Show();
    PostMessageW(window, kOpenMessage, 0, 0);
    RunMessageLoop();
    return result;
}
