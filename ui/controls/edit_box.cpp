#include "ui/controls/edit_box.h"

#include "ui/controls/clipboard_text.h"
#include "ui/draw/shapes.h"
#include "ui/host/host_window.h"
#include "ui/host/popup_menu.h"

#include <imm.h>

#include <algorithm>
#include <cmath>

namespace kodaro::ui {

namespace {

// The caret blinks twice a second; a press this soon after a double click
// selects the whole line.
constexpr UINT kBlinkInterval = 500;
constexpr std::uint64_t kTripleClickTime = 500;
constexpr int kWheelLines = 3;
// How far the selection reaches past the end of a line whose break it holds.
constexpr float kLineBreakWidth = 4.0f;
constexpr float kTabStop = 8.0f;
constexpr float kFirstTabOffset = 1.0f;

constexpr int kFormatFlags = Gdiplus::StringFormatFlagsNoFontFallback |
                             Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                             Gdiplus::StringFormatFlagsNoClip;

void FillArea(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb color) {
    Gdiplus::GpSolidFill* brush = nullptr;
    if (gdip::GdipCreateSolidFill(color, &brush) != Gdiplus::Ok) {
        return;
    }
    gdip::GdipFillRectangle(graphics, brush, rect.X, rect.Y, rect.Width, rect.Height);
    gdip::GdipDeleteBrush(brush);
}

void FillRoundArea(Gdiplus::GpGraphics* graphics, const RectF& rect, float diameter, Argb color) {
    UniquePath path = RoundRectPath(rect, diameter);
    Gdiplus::GpSolidFill* brush = nullptr;
    if (path && gdip::GdipCreateSolidFill(color, &brush) == Gdiplus::Ok) {
        gdip::GdipFillPath(graphics, brush, path.get());
        gdip::GdipDeleteBrush(brush);
    }
}

bool ControlKeyDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

bool ShiftKeyDown() {
    return GetKeyState(VK_SHIFT) < 0;
}

// Types whose box opens no input-method composition.
bool WithoutInputMethod(int inputType) {
    return inputType == kEditPassword || inputType == kEditDigits || inputType == kEditDecimal;
}

} // namespace

EditMenuState EditMenuStates(int inputType, bool hasSelection, bool clipboardHasText,
                             bool textEmpty) {
    const bool editable = inputType != kEditReadOnly;
    return {.cut = hasSelection && editable,
            .copy = hasSelection,
            .paste = editable && clipboardHasText,
            .selectAll = !textEmpty};
}

EditBox::~EditBox() {
    Destroy();
}

bool EditBox::Create(ControlParent parent, float x, float y, float width, float height,
                     std::wstring_view text, const EditBoxOptions& options) {
    Destroy();
    multiLine_ = options.multiLine;
    inputType_ = options.inputType;
    passwordChar_ = options.passwordChar.empty() ? L"*" : options.passwordChar;
    scrollBars_ = multiLine_ ? options.scrollBars.value_or(kEditHorizontalBar | kEditVerticalBar) &
                                   (kEditHorizontalBar | kEditVerticalBar)
                             : 0;
    rightMargin_ = std::max(0.0f, options.rightMargin);
    font_.Make(options.fontName, options.fontSize, options.fontStyle);
    measure_.ForgetFont();
    format_.Create(kFormatFlags |
                   (scrollBars_ == kEditVerticalBar ? Gdiplus::StringFormatFlagsLineLimit : 0));
    format_.Trimming(Gdiplus::StringTrimmingNone);
    format_.HotkeyPrefix(Gdiplus::HotkeyPrefixNone);
    gdip::GdipSetStringFormatTabStops(format_.get(), kFirstTabOffset, 1, &kTabStop);
    textColor_ = options.textColor;
    backgroundColor_ = options.backgroundColor;
    borderColor_ = options.borderColor;
    Gdiplus::GpSolidFill* brush = nullptr;
    gdip::GdipCreateSolidFill(textColor_, &brush);
    textBrush_.reset(brush);
    buffer_.MultiLine(multiLine_);
    buffer_.Password(inputType_ == kEditPassword, passwordChar_);
    buffer_.SetText(text);
    caret_ = anchor_ = {};
    scrollX_ = scrollY_ = 0;
    widest_ = 0;
    return parent.CreateIn(*this, MakeRectF(x, y, width, height), kKindEditBox, options.visible,
                           true, LoadCursorW(nullptr, IDC_IBEAM));
}

// --- text ------------------------------------------------------------------------

std::wstring EditBox::Text() {
    if (!Created()) {
        return buffer_.Text();
    }
    std::wstring text;
    Send(EXM_EDIT_GETTEXT, 0, reinterpret_cast<LPARAM>(&text));
    return text;
}

void EditBox::Text(std::wstring_view value, bool caretToEnd) {
    if (!Created()) {
        buffer_.SetText(value);
        return;
    }
    Send(EXM_EDIT_SETTEXT, caretToEnd ? 1 : 0, reinterpret_cast<LPARAM>(&value));
}

void EditBox::SetTextNow(std::wstring_view text, bool caretToEnd) {
    buffer_.SetText(text);
    caret_ = anchor_ = caretToEnd ? buffer_.End() : TextPosition{};
    scrollX_ = scrollY_ = 0;
    widest_ = 0;
    if (!focused_) {
        KillTimer(Window(), TimerId());
        caretOn_ = false;
    }
    Changed();
}

void EditBox::InputType(int value) {
    inputType_ = value;
    buffer_.Password(value == kEditPassword, passwordChar_);
    widestStale_ = true;
    if (focused_ && WithoutInputMethod(value) && !inputContextDetached_) {
        savedInputContext_ = ImmAssociateContext(Window(), nullptr);
        inputContextDetached_ = true;
    } else if (focused_ && !WithoutInputMethod(value) && inputContextDetached_) {
        ImmAssociateContext(Window(), savedInputContext_);
        inputContextDetached_ = false;
    }
    Redraw();
}

void EditBox::InsertText(std::wstring_view text) {
    ReplaceSelection(text);
}

void EditBox::DeleteSelection() {
    if (HasSelection()) {
        ReplaceSelection({});
    }
}

std::wstring EditBox::SelectedText() const {
    return buffer_.Range(anchor_, caret_);
}

void EditBox::SelectAll() {
    Select({}, buffer_.End());
}

void EditBox::Select(TextPosition anchor, TextPosition caret) {
    anchor_ = buffer_.Valid(anchor);
    caret_ = buffer_.Valid(caret);
    CaretMoved();
}

void EditBox::ReplaceSelection(std::wstring_view text) {
    const TextPosition from = std::min(caret_, anchor_);
    const TextPosition to = std::max(caret_, anchor_);
    if (from == to && text.empty()) {
        return;
    }
    buffer_.Erase(from, to);
    caret_ = anchor_ = buffer_.Insert(from, text);
    widestStale_ = true;
    Changed();
}

void EditBox::TypeText(std::wstring_view typed) {
    if (!Editable()) {
        return;
    }
    const bool hasDot = inputType_ == kEditDecimal &&
                        buffer_.HasDotOutside(std::min(caret_, anchor_), std::max(caret_, anchor_));
    const std::wstring accepted = FilterInput(typed, inputType_, multiLine_, hasDot);
    if (!accepted.empty()) {
        ReplaceSelection(accepted);
    }
}

void EditBox::Changed() {
    preferredX_.reset();
    EnsureCaretVisible();
    if (focused_) {
        RestartBlink();
    }
    Redraw();
    PlaceSystemCaret();
    if (onChange_) {
        // A copy: the handler may replace itself or destroy the box.
        ChangeHandler handler = onChange_;
        handler(Parent(), this);
    }
}

// --- clipboard and commands --------------------------------------------------------

EditMenuState EditBox::MenuState() const {
    return EditMenuStates(inputType_, HasSelection(), ClipboardHasText(), buffer_.Empty());
}

void EditBox::RunCommand(UINT command) {
    if (inputType_ == kEditPassword) {
        return;
    }
    switch (command) {
    case kEditCommandSelectAll:
        SelectAll();
        break;
    case kEditCommandCopy:
        Copy();
        break;
    case kEditCommandPaste:
        Paste();
        break;
    case kEditCommandCut:
        if (Editable() && HasSelection()) {
            Copy();
            DeleteSelection();
        }
        break;
    default:
        break;
    }
}

void EditBox::ShowContextMenu(LPARAM position) {
    const EditMenuState state = MenuState();
    PopupMenu& menu = EditContextMenu();
    for (int index = 1; index <= menu.ItemCount(); ++index) {
        bool enabled = false;
        switch (menu.ItemCommand(index)) {
        case kEditCommandCut:
            enabled = state.cut;
            break;
        case kEditCommandCopy:
            enabled = state.copy;
            break;
        case kEditCommandPaste:
            enabled = state.paste;
            break;
        case kEditCommandSelectAll:
            enabled = state.selectAll;
            break;
        default:
            continue;
        }
        menu.ItemState(index, enabled ? kMenuItemEnabled : kMenuItemDisabled);
    }
    HWND window = Window();
    POINT at{MouseX(position), MouseY(position)};
    ClientToScreen(window, &at);
    const UINT chosen = menu.TrackPopup(Host(), at.x, at.y);
    // The box may be gone once the menu's loop ends: the command goes
    // through the window to the focus control, which is this box while it
    // lives.
    if (chosen != 0) {
        SendMessageW(window, WM_COMMAND, chosen, 0);
    }
}

void EditBox::Copy() {
    if (HasSelection() && inputType_ != kEditPassword) {
        PutClipboardText(Window(), SelectedText());
    }
}

void EditBox::Paste() {
    if (!Editable() || inputType_ == kEditPassword) {
        return;
    }
    if (std::optional<std::wstring> text = ClipboardText(Window())) {
        TypeText(*text);
    }
}

// --- geometry --------------------------------------------------------------------

RectF EditBox::TextArea() const {
    const float barWidth = vBar_.Created() ? kEditScrollBarSize : 0.0f;
    const float barHeight = hBar_.Created() ? kEditScrollBarSize : 0.0f;
    return MakeRectF(2, 2, std::max(0.0f, Width() - 4 - barWidth - rightMargin_),
                     std::max(0.0f, Height() - 4 - barHeight));
}

float EditBox::LineTop(int line) const {
    const RectF area = TextArea();
    if (!multiLine_) {
        return area.Y + std::floor((area.Height - lineHeight_) / 2);
    }
    return area.Y + static_cast<float>(line) * lineHeight_ + scrollY_;
}

LineLayout& EditBox::MeasuredLine(int line) {
    LineLayout& layout = buffer_.Layout(line);
    if (!layout.valid) {
        measure_.Measure(Graphics(), font_.get(), format_.get(), buffer_.Line(line),
                         inputType_ == kEditPassword ? std::wstring_view(passwordChar_)
                                                     : std::wstring_view(),
                         layout);
        widest_ = std::max(widest_, layout.Width());
    }
    return layout;
}

float EditBox::ColumnX(TextPosition at) {
    const LineLayout& layout = MeasuredLine(at.line);
    return layout.xs[EditLineLayout::BoundaryOf(layout, at.column)];
}

TextPosition EditBox::HitTest(float surfaceX, float surfaceY) {
    const RectF area = TextArea();
    int line = 0;
    if (multiLine_) {
        line = static_cast<int>(std::floor((surfaceY - area.Y - scrollY_) / lineHeight_));
        line = std::clamp(line, 0, buffer_.LineCount() - 1);
    }
    const LineLayout& layout = MeasuredLine(line);
    const std::size_t index = EditLineLayout::HitTest(layout, surfaceX - area.X - scrollX_);
    return {line, layout.bounds[index]};
}

// The widest line measured so far; lines are measured when shown or reached
// by the caret, so a long text costs nothing until it is looked at.
float EditBox::ContentWidth() {
    if (widestStale_) {
        widest_ = 0;
        for (int line = 0; line < buffer_.LineCount(); ++line) {
            const LineLayout& layout = buffer_.Layout(line);
            if (layout.valid) {
                widest_ = std::max(widest_, layout.Width());
            }
        }
        widestStale_ = false;
    }
    return widest_;
}

void EditBox::ClampScroll() {
    const RectF area = TextArea();
    const float textHeight = static_cast<float>(buffer_.LineCount()) * lineHeight_;
    scrollY_ =
        multiLine_ ? std::clamp(scrollY_, std::min(0.0f, area.Height - textHeight), 0.0f) : 0.0f;
    // One pixel beyond the widest line stays in view for the caret.
    scrollX_ = std::clamp(scrollX_, std::min(0.0f, area.Width - 1 - ContentWidth()), 0.0f);
    SyncScrollBars();
}

void EditBox::CreateScrollBars() {
    // Children of the box: they move with it and are clipped to it.
    if ((scrollBars_ & kEditVerticalBar) != 0) {
        vBar_.Create(*this, 0, 0, kEditScrollBarSize, kEditScrollBarSize);
        vBar_.OnScroll([this](ScrollBar& bar, int position) { OnBarScrolled(bar, position); });
    }
    if ((scrollBars_ & kEditHorizontalBar) != 0) {
        hBar_.Create(*this, 0, 0, kEditScrollBarSize, kEditScrollBarSize, true);
        hBar_.OnScroll([this](ScrollBar& bar, int position) { OnBarScrolled(bar, position); });
    }
    LayoutScrollBars();
}

void EditBox::LayoutScrollBars() {
    const RectF area = TextArea();
    if (vBar_.Created()) {
        vBar_.Move(X() + area.X + area.Width, Y() + area.Y, kEditScrollBarSize, area.Height);
    }
    if (hBar_.Created()) {
        hBar_.Move(X() + area.X, Y() + area.Y + area.Height, area.Width, kEditScrollBarSize);
    }
}

void EditBox::SyncScrollBars() {
    const RectF area = TextArea();
    if (vBar_.Created()) {
        const float textHeight = static_cast<float>(buffer_.LineCount()) * lineHeight_;
        const int maximum = static_cast<int>(std::ceil(std::max(0.0f, textHeight - area.Height)));
        if (vBar_.Maximum() != maximum) {
            vBar_.Maximum(maximum);
        }
        vBar_.LineStep(static_cast<int>(lineHeight_));
        vBar_.PageSize(static_cast<int>(area.Height));
        vBar_.Position(static_cast<int>(std::lround(-scrollY_)));
    }
    if (hBar_.Created()) {
        const int maximum =
            static_cast<int>(std::ceil(std::max(0.0f, ContentWidth() + 1 - area.Width)));
        if (hBar_.Maximum() != maximum) {
            hBar_.Maximum(maximum);
        }
        hBar_.LineStep(static_cast<int>(lineHeight_));
        hBar_.PageSize(static_cast<int>(area.Width));
        hBar_.Position(static_cast<int>(std::lround(-scrollX_)));
    }
}

void EditBox::OnBarScrolled(ScrollBar& bar, int position) {
    // The user looks elsewhere; the caret stays where it is.
    (bar.Horizontal() ? scrollX_ : scrollY_) = -static_cast<float>(position);
    ClampScroll();
    Redraw();
    PlaceSystemCaret();
}

void EditBox::EnsureCaretVisible() {
    const RectF area = TextArea();
    if (multiLine_) {
        const float top = static_cast<float>(caret_.line) * lineHeight_;
        if (top + scrollY_ < 0) {
            scrollY_ = -top;
        } else if (top + lineHeight_ + scrollY_ > area.Height) {
            scrollY_ = area.Height - top - lineHeight_;
        }
    }
    const float x = ColumnX(caret_);
    if (x + scrollX_ < 0) {
        // Coming back from the right, a third of the view shows what lies
        // before the caret.
        scrollX_ = std::min(0.0f, area.Width / 3 - x);
    } else if (x + scrollX_ > area.Width - 1) {
        scrollX_ = area.Width - 1 - x;
    }
    ClampScroll();
}

void EditBox::ScrollBy(float dy) {
    scrollY_ += dy;
    ClampScroll();
    Redraw();
    PlaceSystemCaret();
}

RectF EditBox::ComputeCaretRect() {
    const RectF area = TextArea();
    const float x = std::floor(area.X + scrollX_ + ColumnX(caret_));
    return MakeRectF(x, LineTop(caret_.line) - 1, 1, lineHeight_ + 3);
}

// --- caret -----------------------------------------------------------------------

void EditBox::CaretMoved(bool keepPreferredX) {
    if (!keepPreferredX) {
        preferredX_.reset();
    }
    EnsureCaretVisible();
    if (focused_) {
        RestartBlink();
    }
    Redraw();
    PlaceSystemCaret();
}

void EditBox::RestartBlink() {
    caretOn_ = true;
    SetTimer(Window(), TimerId(), kBlinkInterval, nullptr);
}

void EditBox::PlaceSystemCaret() {
    if (!systemCaret_) {
        return;
    }
    const RectF caret = ComputeCaretRect();
    SetCaretPos(static_cast<int>(X() + caret.X), static_cast<int>(Y() + caret.Y));
}

void EditBox::MoveCaret(TextPosition to, bool extend, bool keepPreferredX) {
    caret_ = buffer_.Valid(to);
    if (!extend) {
        anchor_ = caret_;
    }
    CaretMoved(keepPreferredX);
}

void EditBox::MoveVertically(int lines, bool extend) {
    if (!multiLine_) {
        return;
    }
    const float x = preferredX_ ? *preferredX_ : ColumnX(caret_);
    const int target = std::clamp(caret_.line + lines, 0, buffer_.LineCount() - 1);
    const LineLayout& layout = MeasuredLine(target);
    const int column = layout.bounds[EditLineLayout::HitTest(layout, x)];
    preferredX_ = x;
    MoveCaret({target, column}, extend, true);
}

// --- input -----------------------------------------------------------------------

LRESULT EditBox::OnKeyDown(WPARAM key, bool forceControl) {
    const bool control = forceControl || ControlKeyDown();
    const bool shift = !forceControl && ShiftKeyDown();
    if (control && (key == 'A' || key == 'C' || key == 'V' || key == 'X')) {
        RunCommand(static_cast<UINT>(key));
        return 0;
    }
    // The older clipboard keys of Windows text boxes.
    if (key == VK_INSERT && (control || shift)) {
        RunCommand(control ? kEditCommandCopy : kEditCommandPaste);
        return 0;
    }
    if (key == VK_DELETE && shift) {
        RunCommand(kEditCommandCut);
        return 0;
    }
    const TextPosition from = std::min(caret_, anchor_);
    const TextPosition to = std::max(caret_, anchor_);
    switch (key) {
    case VK_BACK:
    case VK_DELETE:
        if (Editable()) {
            if (!HasSelection()) {
                anchor_ = key == VK_BACK ? buffer_.Previous(caret_) : buffer_.Next(caret_);
            }
            ReplaceSelection({});
        }
        return 0;
    case VK_RETURN:
        if (!multiLine_) {
            return kNotHandled;
        }
        TypeText(L"\r\n");
        return 0;
    case VK_HOME:
        MoveCaret(control ? TextPosition{} : TextPosition{caret_.line, 0}, shift);
        return 0;
    case VK_END:
        MoveCaret(control ? buffer_.End()
                          : TextPosition{caret_.line, buffer_.LineLength(caret_.line)},
                  shift);
        return 0;
    case VK_LEFT:
        if (HasSelection() && !shift && !control) {
            MoveCaret(from, false);
        } else {
            MoveCaret(control ? buffer_.PreviousWord(caret_) : buffer_.Previous(caret_), shift);
        }
        return 0;
    case VK_RIGHT:
        if (HasSelection() && !shift && !control) {
            MoveCaret(to, false);
        } else {
            MoveCaret(control ? buffer_.NextWord(caret_) : buffer_.Next(caret_), shift);
        }
        return 0;
    case VK_UP:
    case VK_DOWN:
        MoveVertically(key == VK_UP ? -1 : 1, shift);
        return 0;
    case VK_PRIOR:
    case VK_NEXT: {
        const int page = std::max(1, static_cast<int>(std::floor(TextArea().Height / lineHeight_)));
        MoveVertically(key == VK_PRIOR ? -page : page, shift);
        return 0;
    }
    case VK_SPACE:
        // Typed through WM_CHAR; the host must not take it as a click.
        return 0;
    default:
        return kNotHandled;
    }
}

LRESULT EditBox::OnChar(wchar_t c) {
    // A character beyond the first plane arrives in two halves.
    if (c >= 0xD800 && c <= 0xDBFF) {
        pendingHighSurrogate_ = c;
        return 0;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) {
        if (pendingHighSurrogate_ != 0) {
            const wchar_t pair[2] = {pendingHighSurrogate_, c};
            pendingHighSurrogate_ = 0;
            TypeText(std::wstring_view(pair, 2));
        }
        return 0;
    }
    pendingHighSurrogate_ = 0;
    // Control characters (Backspace, Enter, Tab, Control+letters) arrive here
    // too; their keys were handled on key down.
    if (c >= 0x20 && c != 0x7F) {
        TypeText(std::wstring_view(&c, 1));
    }
    return 0;
}

void EditBox::OnImeComposition(LPARAM flags) {
    if ((flags & GCS_RESULTSTR) == 0) {
        return;
    }
    HIMC context = ImmGetContext(Window());
    if (context == nullptr) {
        return;
    }
    const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
    std::wstring result;
    if (bytes > 0) {
        result.resize(static_cast<std::size_t>(bytes) / sizeof(wchar_t));
        const LONG got = ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(),
                                                  static_cast<DWORD>(bytes));
        result.resize(got > 0 ? static_cast<std::size_t>(got) / sizeof(wchar_t) : 0);
    }
    ImmReleaseContext(Window(), context);
    TypeText(result);
}

void EditBox::OnLeftDown(WPARAM keys, LPARAM position) {
    const float x = static_cast<float>(MouseX(position)) - X();
    const float y = static_cast<float>(MouseY(position)) - Y();
    const std::uint64_t now = GetTickCount64();
    const TextPosition at = HitTest(x, y);
    const bool password = inputType_ == kEditPassword;
    dragging_ = false;
    if (keys == kDoubleClickMarker && !password) {
        const auto [start, end] = buffer_.WordAt(at);
        anchor_ = start;
        caret_ = end;
        doubleClickTime_ = now;
        afterDoubleClick_ = true;
        CaretMoved();
        return;
    }
    if (afterDoubleClick_ && now - doubleClickTime_ <= kTripleClickTime && !password) {
        afterDoubleClick_ = false;
        anchor_ = {caret_.line, 0};
        caret_ = {caret_.line, buffer_.LineLength(caret_.line)};
        CaretMoved();
        return;
    }
    afterDoubleClick_ = false;
    const bool extend = keys != kDoubleClickMarker && (keys & MK_SHIFT) != 0 && !password;
    dragging_ = !password;
    MoveCaret(at, extend);
}

void EditBox::OnMouseMove(WPARAM keys, LPARAM position) {
    if (!dragging_ || (keys & MK_LBUTTON) == 0 || inputType_ == kEditPassword) {
        return;
    }
    const RectF area = TextArea();
    const float x = static_cast<float>(MouseX(position)) - X();
    float y = static_cast<float>(MouseY(position)) - Y();
    if (multiLine_ && (y < area.Y || y >= area.Y + area.Height)) {
        // Dragging above or below the text scrolls it a line at a time; the
        // caret goes to the first or last line wholly in view.
        const bool above = y < area.Y;
        scrollY_ += above ? lineHeight_ : -lineHeight_;
        ClampScroll();
        int line = above ? static_cast<int>(std::ceil(-scrollY_ / lineHeight_))
                         : static_cast<int>(std::floor((area.Height - scrollY_) / lineHeight_)) - 1;
        line = std::clamp(line, 0, buffer_.LineCount() - 1);
        y = LineTop(line) + lineHeight_ / 2;
    }
    MoveCaret(HitTest(x, y), true);
}

void EditBox::OnWheel(WPARAM wParam) {
    const float textHeight = static_cast<float>(buffer_.LineCount()) * lineHeight_;
    if (!multiLine_ || textHeight <= TextArea().Height) {
        return;
    }
    wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ %= WHEEL_DELTA;
    if (notches != 0) {
        ScrollBy(static_cast<float>(notches * kWheelLines) * lineHeight_);
    }
}

void EditBox::OnFocus(bool gained) {
    focused_ = gained;
    if (gained) {
        systemCaret_ =
            CreateCaret(Window(), nullptr, 1, static_cast<int>(lineHeight_) + 3) != FALSE;
        if (WithoutInputMethod(inputType_) && !inputContextDetached_) {
            savedInputContext_ = ImmAssociateContext(Window(), nullptr);
            inputContextDetached_ = true;
        }
        RestartBlink();
        PlaceSystemCaret();
    } else {
        if (inputContextDetached_) {
            ImmAssociateContext(Window(), savedInputContext_);
            inputContextDetached_ = false;
        }
        KillTimer(Window(), TimerId());
        caretOn_ = false;
        dragging_ = false;
        anchor_ = caret_;
        if (systemCaret_) {
            DestroyCaret();
            systemCaret_ = false;
        }
    }
    Redraw();
}

LRESULT EditBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        lineHeight_ = std::ceil(FontHeight(Graphics(), font_.get()));
        if (!(lineHeight_ > 0)) {
            lineHeight_ = kDefaultFontSize + 2;
        }
        caret_ = anchor_ = {};
        if (multiLine_) {
            CreateScrollBars();
        }
        return 0;
    case WM_DESTROY:
        if (focused_) {
            OnFocus(false);
        }
        KillTimer(Window(), TimerId());
        buffer_.SetText({});
        caret_ = anchor_ = {};
        caretRect_ = {};
        return 0;
    case EXM_EDIT_SETTEXT:
        SetTextNow(lParam != 0 ? *reinterpret_cast<const std::wstring_view*>(lParam)
                               : std::wstring_view(),
                   wParam != 0);
        return 1;
    case EXM_EDIT_GETTEXT: {
        std::wstring text = buffer_.Text();
        const auto length = static_cast<LRESULT>(text.size());
        if (lParam != 0) {
            *reinterpret_cast<std::wstring*>(lParam) = std::move(text);
        }
        return length;
    }
    case WM_KEYDOWN:
        return OnKeyDown(wParam, false);
    case WM_COMMAND:
        // Only a menu's command (no notification code, no sending window):
        // a child window's notification must not cut or paste.
        if (HIWORD(wParam) != 0 || lParam != 0) {
            return kNotHandled;
        }
        RunCommand(LOWORD(wParam));
        return 0;
    case WM_CHAR:
        return OnChar(static_cast<wchar_t>(wParam));
    case WM_IME_COMPOSITION:
        if ((lParam & GCS_RESULTSTR) == 0) {
            return kNotHandled;
        }
        // Handled here, so the system makes no WM_CHAR of the same text.
        OnImeComposition(lParam);
        return 0;
    case WM_TIMER:
        if (wParam == TimerId() && focused_) {
            caretOn_ = !caretOn_;
            Redraw();
            return 0;
        }
        return kNotHandled;
    case WM_LBUTTONDOWN:
        OnLeftDown(wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        dragging_ = false;
        if (focused_) {
            RestartBlink();
            Redraw();
        }
        return 0;
    case WM_RBUTTONDOWN:
        // The context menu acts on the box it was opened on.
        if (!focused_ && Host() != nullptr) {
            Host()->SetFocusControl(this, false);
        }
        return 0;
    case WM_RBUTTONUP:
        if (inputType_ != kEditPassword && focused_) {
            ShowContextMenu(lParam);
        }
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(wParam);
        return 0;
    case EXM_SETFOCUS:
    case EXM_KILLFOCUS:
        OnFocus(message == EXM_SETFOCUS);
        return 0;
    case EXM_SIZE:
        LayoutScrollBars();
        ClampScroll();
        return 0;
    case EXM_ALPHACHANGED:
        for (ScrollBar* bar : {&vBar_, &hBar_}) {
            if (bar->Created()) {
                bar->Opacity(static_cast<int>(lParam));
            }
        }
        return 0;
    default:
        return kNotHandled;
    }
}

// --- painting ----------------------------------------------------------------------

void EditBox::Paint(Gdiplus::GpGraphics* graphics, int width, int height) {
    const RectF whole = MakeRectF(0, 0, static_cast<float>(width), static_cast<float>(height));
    const WindowLook look = Host() != nullptr ? Host()->FrameLook() : WindowLook::Square;
    const bool rounded = look != WindowLook::Square && look != WindowLook::Bare;
    if (rounded) {
        FillRoundArea(graphics, whole, 4, backgroundColor_);
        DrawRoundRect(graphics, whole, 4, borderColor_);
    } else {
        FillRectangle(graphics, whole, backgroundColor_);
        DrawBorder(graphics, whole, kBorderFlat, borderColor_);
    }
    const RectF area = TextArea();
    SetClipRect(graphics, area);
    int first = 0;
    int last = 0;
    if (multiLine_) {
        first = std::max(0, static_cast<int>(std::floor(-scrollY_ / lineHeight_)));
        last = std::min(buffer_.LineCount() - 1,
                        static_cast<int>(std::floor((area.Height - scrollY_) / lineHeight_)));
    }
    const TextPosition from = std::min(caret_, anchor_);
    const TextPosition to = std::max(caret_, anchor_);
    const std::wstring_view password =
        inputType_ == kEditPassword ? std::wstring_view(passwordChar_) : std::wstring_view();
    const float left = area.X + scrollX_;
    const float widest = widest_;
    for (int line = first; line <= last; ++line) {
        const LineLayout& layout = MeasuredLine(line);
        const float top = LineTop(line);
        if (from != to && line >= from.line && line <= to.line) {
            const float start = line == from.line ? ColumnX(from) : 0.0f;
            const float end = line == to.line ? ColumnX(to) : layout.Width() + kLineBreakWidth;
            FillArea(graphics, MakeRectF(left + start, top, end - start, lineHeight_),
                     kEditSelectionColor);
        }
        EditLineLayout::Draw(graphics, font_.get(), format_.get(), textBrush_.get(),
                             buffer_.Line(line), password, layout, left, top, -scrollX_,
                             -scrollX_ + area.Width);
    }
    if (widest_ != widest) {
        // Lines shown for the first time may be the widest yet.
        SyncScrollBars();
    }
    caretRect_ = ComputeCaretRect();
    if (focused_ && caretOn_) {
        DrawLine(graphics, ToArgb(0, 255), caretRect_.X + 0.5f, caretRect_.Y, caretRect_.X + 0.5f,
                 caretRect_.Y + caretRect_.Height);
    }
    ResetClip(graphics);
    if (focused_) {
        DrawBorder(graphics, whole, kBorderDashed);
    }
}

} // namespace kodaro::ui
