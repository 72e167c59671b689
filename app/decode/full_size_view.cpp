#include "app/decode/full_size_view.h"

#include "app/decode/modal_loop.h"
#include "ui/draw/image.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"

namespace kodaro {

namespace {

// A plain popup: no minimise or maximise buttons to offer.
constexpr DWORD kPopupStyle = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU;

LRESULT OnPopupMessage(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    return -1;
}

} // namespace

void ShowFullSize(HWND owner, std::span<const std::uint8_t> picture) {
    int width = 0;
    int height = 0;
    {
        const ui::MemoryImage image = ui::LoadImageFromBytes(picture);
        if (!image) {
            return;
        }
        width = ui::ImageWidth(image.get());
        height = ui::ImageHeight(image.get());
    }
    ui::HostWindowOptions options;
    options.parent = owner;
    options.width = width + 2 * kFullSizeMargin;
    options.height = height + 2 * kFullSizeMargin;
    options.style = kPopupStyle;
    // Topmost from the start: under Wine, SetWindowPos alone does not make
    // an attached framework window topmost.
    options.exStyle = WS_EX_TOPMOST;
    HWND popup = ui::CreateHostWindow(options);
    if (popup == nullptr) {
        return;
    }
    ui::HostWindow host;
    host.EventMessage = OnPopupMessage;
    ui::AttachOptions attach;
    attach.backgroundImage = picture;
    attach.backgroundMode = ui::kBackgroundCentre;
    attach.frameStyle = ui::kFrameClose;
    if (!host.Attach(popup, attach)) {
        DestroyWindow(popup);
        return;
    }
    host.Show();
    SetForegroundWindow(popup);
    ui::MakeTopmost(popup);
    // The owner's hover look would otherwise stay until the mouse comes back.
    PostMessageW(owner, WM_MOUSELEAVE, 0, 0);
    RunModalLoop([popup] { return !IsWindow(popup); }, {.inputWindow = popup});
    // The loop also ends on WM_QUIT, with the popup still open.
    if (IsWindow(popup)) {
        DestroyWindow(popup);
    }
}

} // namespace kodaro
