#include "uninstall/uninstall_window.h"

#include "ui/host/caption_button.h"
#include "ui/host/framework.h"
#include "uninstall/resources.h"

namespace kodaro::uninstall {

namespace {

using ui::Control;

constexpr int kWindowWidth = 600;
constexpr int kWindowHeight = 435;
// Title label, close and minimise buttons.
constexpr int kFrameStyle = ui::kFrameTitle | ui::kFrameClose | ui::kFrameMinimise;
// Style bits taken off once the controls are built.
constexpr DWORD kClearedStyle = 0x804B0;
constexpr ui::Animation kAnimation = ui::Animation::Grow;
// The bar's colour 0x405276 (BGR) at alpha 153 with a faint track of it.
constexpr ui::ColorRef kBarColor = 0x405276;
constexpr int kBarOpacity = 204;

DWORD WINAPI RemovalThread(void* parameter) {
    RemoveInstallation(*static_cast<const RemovalJob*>(parameter));
    return 0;
}

} // namespace

UninstallWindow::UninstallWindow(const UninstallManifest& manifest, std::wstring installFolder,
                                 UninstallProbe probe)
    : probe_(std::move(probe)) {
    job_.manifest = &manifest;
    job_.installFolder = std::move(installFolder);
    job_.afterItem = probe_.afterItem;
}

UninstallWindow::~UninstallWindow() {
    WaitForWorker();
}

bool UninstallWindow::Show() {
    if (!Build()) {
        return false;
    }
    ui::RunMessageLoop();
    WaitForWorker();
    return true;
}

bool UninstallWindow::Build() {
    ui::HostWindowOptions options;
    options.title = L"Kodaro卸载程序";
    options.width = kWindowWidth;
    options.height = kWindowHeight;
    window_ = ui::CreateHostWindow(options);
    if (window_ == nullptr) {
        return false;
    }
    job_.window = window_;
    ui::AttachOptions attach;
    attach.backgroundImage = ui::ModuleResourceBytes(kBackgroundResource);
    attach.frameStyle = kFrameStyle;
    if (!host_.Attach(window_, attach)) {
        DestroyWindow(window_);
        window_ = nullptr;
        return false;
    }
    host_.EventMessage = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return OnUninstallMessage(window, message, wParam, lParam);
    };

    statusLabel_.Create(host_, 143, 315, 320, 24, L"卸载目录:");
    // The folder comes from the registry; typing another one would change
    // nothing, so the box only shows it (it can still be selected and copied).
    ui::EditBoxOptions box;
    box.inputType = ui::kEditReadOnly;
    folderBox_.Create(host_, 147, 345, 315, 24, job_.installFolder, box);
    ui::ProgressBarOptions bar;
    bar.startColor = ui::ToArgb(kBarColor, 153);
    bar.endColor = bar.startColor;
    bar.borderColor = 0x51000000;
    bar.backgroundColor = ui::ToArgb(kBarColor, 10);
    bar.visible = false;
    removeProgress_.Create(host_, 147, 345, 315, 24, bar);
    removeProgress_.Opacity(kBarOpacity);
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    removeButton_.Create(host_, 215, 382, 80, 25, L"卸载");
    removeButton_.Cursor(hand);
    cancelButton_.Create(host_, 315, 382, 80, 25, L"取消");
    cancelButton_.Cursor(hand);

    ui::RemoveStyle(window_, kClearedStyle);
    host_.Show(kAnimation);
    host_.SetCloseAnimation(kAnimation);
    host_.EventClick = [this](HWND, Control* control, WPARAM, LPARAM, int) {
        OnUninstallClick(control);
    };
    return true;
}

LRESULT UninstallWindow::OnUninstallMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) {
            break;
        }
        [[fallthrough]];
    case WM_CLOSE:
        // The worker reports to this window until it is done, and a half-done
        // removal must not lose its window: every way of closing is refused.
        if (state_ == UninstallState::Removing) {
            if (probe_.windowMessage) {
                probe_.windowMessage(WM_CLOSE, 0);
            }
            return 0;
        }
        break;
    case UM_PROGRESS:
        removeProgress_.Position(static_cast<int>(lParam));
        if (probe_.windowMessage) {
            probe_.windowMessage(message, lParam);
        }
        break;
    case UM_DONE:
        state_ = UninstallState::Done;
        statusLabel_.Text(L"卸载完毕");
        cancelButton_.Disabled(false);
        EnableCloseButton(true);
        if (probe_.windowMessage) {
            probe_.windowMessage(message, 0);
        }
        break;
    default:
        break;
    }
    return -1;
}

void UninstallWindow::OnUninstallClick(Control* control) {
    if (control == &removeButton_ && state_ == UninstallState::Ready) {
        StartRemoval();
    } else if (control == &cancelButton_ && state_ != UninstallState::Removing) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    }
}

void UninstallWindow::StartRemoval() {
    state_ = UninstallState::Removing;
    statusLabel_.Text(L"正在卸载");
    folderBox_.Visible(false);
    removeButton_.Visible(false);
    cancelButton_.Text(L"完成");
    // Centred under the bar.
    cancelButton_.Move(cancelButton_.X() - 50);
    removeProgress_.Visible(true);
    cancelButton_.Disabled(true);
    EnableCloseButton(false);
    if (!ui::StartThread(RemovalThread, &job_, true, &worker_)) {
        // Without a worker nothing is removed; the window still reaches its end.
        OnUninstallMessage(window_, UM_DONE, 0, 0);
    }
}

void UninstallWindow::EnableCloseButton(bool enabled) {
    for (Control* control = host_.FirstControl(); control != nullptr;
         control = control->NextSibling()) {
        if (control->Kind() == ui::kKindCaptionButton &&
            static_cast<ui::CaptionButton*>(control)->Type() == ui::kFrameClose) {
            control->Disabled(!enabled);
            return;
        }
    }
}

void UninstallWindow::WaitForWorker() {
    if (worker_ == nullptr) {
        return;
    }
    // Only reached when the loop ended early: with the window gone the
    // worker's messages fail at once, and messages it sends meanwhile are
    // still handled here, so it cannot wait on this thread for ever.
    if (window_ != nullptr && IsWindow(window_)) {
        DestroyWindow(window_);
    }
    while (MsgWaitForMultipleObjects(1, &worker_, FALSE, INFINITE, QS_SENDMESSAGE) !=
           WAIT_OBJECT_0) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(worker_);
    worker_ = nullptr;
}

} // namespace kodaro::uninstall
