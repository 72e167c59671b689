// The uninstaller's window: names the installation folder, offers "卸载" and
// "取消", follows the removal with a progress bar and ends with "卸载完毕"
// and "完成". States: ready -> removing -> done -> closed; while removing
// the window cannot be closed at all.
#pragma once

#include "ui/controls/edit_box.h"
#include "ui/controls/label.h"
#include "ui/controls/progress_bar.h"
#include "ui/controls/push_button.h"
#include "ui/host/host_window.h"
#include "uninstall/removal.h"

#include <functional>
#include <string>

namespace kodaro::uninstall {

// Ways for a test build to watch and pace the removal; empty in the product.
struct UninstallProbe {
    // Each UM_PROGRESS (percent), UM_DONE (0) and refused close (WM_CLOSE,
    // 0), as the window handles it.
    std::function<void(UINT message, LPARAM lParam)> windowMessage;
    // Called on the worker after each manifest item.
    std::function<void()> afterItem;
};

enum class UninstallState { Ready, Removing, Done };

class UninstallWindow {
public:
    UninstallWindow(const UninstallManifest& manifest, std::wstring installFolder,
                    UninstallProbe probe = {});
    ~UninstallWindow();
    UninstallWindow(const UninstallWindow&) = delete;
    UninstallWindow& operator=(const UninstallWindow&) = delete;

    // Builds and shows the window, then runs the message loop until WM_QUIT.
    // False when the window could not be created.
    bool Show();

    UninstallState State() const { return state_; }

private:
    bool Build();
    LRESULT OnUninstallMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnUninstallClick(ui::Control* control);
    void StartRemoval();
    void EnableCloseButton(bool enabled);
    void WaitForWorker();

    HWND window_ = nullptr;
    ui::HostWindow host_;
    ui::Label statusLabel_;
    ui::EditBox folderBox_;
    ui::ProgressBar removeProgress_;
    ui::PushButton removeButton_;
    ui::PushButton cancelButton_;
    RemovalJob job_;
    UninstallProbe probe_;
    UninstallState state_ = UninstallState::Ready;
    HANDLE worker_ = nullptr;
};

} // namespace kodaro::uninstall
