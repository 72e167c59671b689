#include "app/decode/full_size_view.h"

#include "ui/draw/image.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"
#include "ui/host/popup_loop.h"

namespace kodaro {

namespace {

// A plain popup: no minimise or maximise buttons to offer.
constexpr DWORD kPopupStyle = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU;

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
    host.EventMessage = [owner](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        // Enabled again before the popup hides, so that the owner becomes
        // the active window once more.
        if (message == WM_CLOSE) {
            EnableWindow(owner, TRUE);
        }
        // Escape closes the popup.
        return ui::PopupMessageHook(window, message, wParam, lParam);
    };
    ui::AttachOptions attach;
    attach.backgroundImage = picture;
    attach.backgroundMode = ui::BackgroundMode::Centre;
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
    // A click on the disabled owner neither activates it nor raises it over
    // the popup; whatever input still reaches it is dropped by the loop.
    EnableWindow(owner, FALSE);
    ui::RunPopupLoop(popup, {.owner = owner, .dropForeignInput = true});
    EnableWindow(owner, TRUE);
}

} // namespace kodaro
