// The framework's modal message box: a text, an optional icon and one of six
// button sets in a host window over its owner, run in a nested loop that keeps
// the owner from being used until the box closes.
//
// Use:
//   MessageBoxParams params;
//   params.owner = mainWindow;
//   params.text = L"确定要卸载吗？";
//   params.buttons = 4;   // "否(&N)", "是(&Y)"
//   params.icon = 32;
//   if (ShowMessageBox(params) == kMessageBoxYes) { ... }
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kodaro::ui {

// Return values of the buttons ("确认" 0, "取消" 1, ...); 1 also when the box
// was closed without a button.
inline constexpr int kMessageBoxOk = 0;
inline constexpr int kMessageBoxCancel = 1;
inline constexpr int kMessageBoxIgnore = 2;
inline constexpr int kMessageBoxRetry = 3;
inline constexpr int kMessageBoxAbort = 4;
inline constexpr int kMessageBoxYes = 5;
inline constexpr int kMessageBoxNo = 6;

inline constexpr int kMessageBoxWidth = 320;
inline constexpr int kMessageBoxHeight = 150;

struct MessageBoxParams {
    HWND owner = nullptr;
    std::wstring text{};
    // Button set 0-5: 0 "确认"; 1 "取消" "确认"; 2 "放弃" "重试" "忽略";
    // 3 "取消" "否(&N)" "是(&Y)"; 4 "否(&N)" "是(&Y)"; 5 "取消" "重试" (in
    // creation order, the first one rightmost).
    int buttons = 0;
    std::wstring title = L"提示：";
    // 0 none, 16 error, 32 question, 48 warning, 64 information, 128 success.
    int icon = 0;
    // MessageBeep(icon) when an icon is shown.
    bool beep = true;
    // Centred on the owner's window; otherwise on the screen.
    bool centreOnOwner = true;
    // Frame style bits of the window (title and close button by default).
    int frameStyle = 6;
    // Captions replacing the set's, in creation order; button i (1-based)
    // then returns i.
    std::vector<std::wstring> captions{};
    // 1-based, in creation order; the first button by default.
    std::optional<int> defaultButton{};
    // Called with the window and its size before it is shown.
    std::function<void(HWND, int, int)> customise{};
};

// Shows the box and returns the clicked button's value, or 1 when it was
// closed otherwise (Escape, the close button, its owner going away) or could
// not be made.
int ShowMessageBox(const MessageBoxParams& params);

// Where the box's text goes and how large its window is for this text and
// icon (the text measured with the framework's font, the window grown by what
// the text needs beyond its default area).
struct MessageBoxLayout {
    int width;
    int height;
    float textX, textY, textWidth, textHeight;
    // The text is wider than the screen allows and wraps.
    bool wrapped;
};
MessageBoxLayout LayOutMessageBox(const std::wstring& text, bool hasIcon);

} // namespace kodaro::ui
