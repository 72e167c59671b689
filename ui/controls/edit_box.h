// The framework's text-entry control, single-line or multi-line.
//
// The box draws its own text, selection and caret into its surface (the host
// is a layered window, so no system edit control can be used); the system
// caret is only moved along, invisible, so that an input method's windows
// open where the user types. Text is UTF-16; a character as the user sees it
// (a surrogate pair, a letter with its marks) is one unit for the caret, the
// selection and Backspace.
//
// Use:
//   EditBox box;
//   box.Create(window, 20, 40, 200, 24, L"", {.inputType = kEditDecimal});
//   box.OnChange([](Control* parent, EditBox* changed) { ...changed->Text()... });
#pragma once

#include "ui/control/control.h"
#include "ui/controls/control_parent.h"
#include "ui/controls/edit_line_layout.h"
#include "ui/controls/edit_text_buffer.h"
#include "ui/controls/font_slot.h"
#include "ui/controls/scroll_bar.h"
#include "ui/draw/color.h"
#include "ui/draw/text.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kodaro::ui {

// Defaults: text black at alpha 230, background white at alpha 160, border
// black at alpha 80.
inline constexpr Argb kEditTextColor = 0xE6000000;
inline constexpr Argb kEditBackgroundColor = 0xA0FFFFFF;
inline constexpr Argb kEditBorderColor = 0x50000000;
// Behind the selected characters.
inline constexpr Argb kEditSelectionColor = 0x803399FF;

// Scroll-bar setting bits of a multi-line box.
inline constexpr int kEditHorizontalBar = 1;
inline constexpr int kEditVerticalBar = 2;
// Thickness of the box's scroll bars.
inline constexpr float kEditScrollBarSize = 14;

// Control messages of the box (the text travels by pointer, so send them,
// never post): set the text (wParam = caret to the end, lParam = const
// std::wstring_view*) and get it (lParam = std::wstring* that receives a
// copy; returns its length).
inline constexpr UINT EXM_EDIT_SETTEXT = 12;
inline constexpr UINT EXM_EDIT_GETTEXT = 13;

// Ids of the context menu's commands; each runs the Control+letter action.
inline constexpr UINT kEditCommandCut = 'X';
inline constexpr UINT kEditCommandCopy = 'C';
inline constexpr UINT kEditCommandPaste = 'V';
inline constexpr UINT kEditCommandSelectAll = 'A';

// Which items of the context menu are enabled.
struct EditMenuState {
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool selectAll = false;
    auto operator<=>(const EditMenuState&) const = default;
};
// Cut and copy need a selection, and cut and paste a box that is not
// read-only; paste needs text on the clipboard, select all a text.
EditMenuState EditMenuStates(int inputType, bool hasSelection, bool clipboardHasText,
                             bool textEmpty);

struct EditBoxOptions {
    Argb textColor = kEditTextColor;
    Argb backgroundColor = kEditBackgroundColor;
    Argb borderColor = kEditBorderColor;
    // With no font name, size or style the shared default font is used.
    std::wstring fontName{};
    std::optional<float> fontSize{};
    std::optional<int> fontStyle{};
    bool multiLine = false;
    int inputType = kEditNormal;
    // Shown for every character of a password box.
    std::wstring passwordChar = L"*";
    // Bits 1 (horizontal) and 2 (vertical); a single-line box has none, a
    // multi-line one both unless told otherwise.
    std::optional<int> scrollBars{};
    // Pixels at the right kept free of text, for a button that sits over the
    // box's right end.
    float rightMargin = 0;
    bool visible = true;
};

class EditBox : public Control {
public:
    // Called after every change of the text (typing, deleting, pasting, a text
    // set by the program) with the box's parent control (null for a
    // top-level box) and the box.
    using ChangeHandler = std::function<void(Control* parent, EditBox* box)>;

    ~EditBox() override;

    // Creates the box (kind 9, I-beam cursor, focusable) holding text.
    bool Create(ControlParent parent, float x, float y, float width, float height,
                std::wstring_view text = {}, const EditBoxOptions& options = {});

    // The text, lines joined with "\r\n" (through the get-text message).
    std::wstring Text();
    // Replaces the text (through the set-text message): the selection is
    // cleared and the caret goes to the end or the start. A single-line box
    // keeps the first line. Calls the change handler.
    void Text(std::wstring_view value, bool caretToEnd = false);

    int InputType() const { return inputType_; }
    void InputType(int value);
    bool MultiLine() const { return multiLine_; }
    int ScrollBars() const { return scrollBars_; }

    // Replaces the selection with text as it is (line breaks as in Text);
    // typing, pasting and input-method results come this way after the input
    // type has had its say.
    void InsertText(std::wstring_view text);
    void DeleteSelection();
    std::wstring SelectedText() const;
    bool HasSelection() const { return caret_ != anchor_; }
    void SelectAll();
    // Places the anchor and the caret (clamped to the text).
    void Select(TextPosition anchor, TextPosition caret);
    TextPosition Caret() const { return caret_; }
    TextPosition Anchor() const { return anchor_; }

    void OnChange(ChangeHandler handler) { onChange_ = std::move(handler); }

    const EditTextBuffer& Buffer() const { return buffer_; }
    // Scroll offsets of the text: 0 or negative, in pixels.
    float ScrollX() const { return scrollX_; }
    float ScrollY() const { return scrollY_; }
    // Height of one line in pixels.
    float LineHeight() const { return lineHeight_; }
    // Where the caret was last drawn (control-surface coordinates), and
    // whether the blink shows it now.
    RectF CaretRect() const { return caretRect_; }
    bool CaretShown() const { return caretOn_ && HasFocusNow(); }
    // The box's scroll bars (not created when the setting has no such bar).
    ScrollBar& VerticalBar() { return vBar_; }
    ScrollBar& HorizontalBar() { return hBar_; }
    // The context menu's enabling for the box as it is now.
    EditMenuState MenuState() const;
    // Runs the action of a Control+letter key or a context-menu command.
    void RunCommand(UINT command);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

private:
    // Text area in surface coordinates: the box inset by 2.
    RectF TextArea() const;
    float LineTop(int line) const;
    LineLayout& MeasuredLine(int line);
    float ColumnX(TextPosition at);
    TextPosition HitTest(float surfaceX, float surfaceY);
    float ContentWidth();

    void SetTextNow(std::wstring_view text, bool caretToEnd);
    void ReplaceSelection(std::wstring_view text);
    void Changed();
    void CaretMoved(bool keepPreferredX = false);
    void EnsureCaretVisible();
    void ClampScroll();
    void CreateScrollBars();
    void LayoutScrollBars();
    // Ranges and positions of the bars follow the text and the offsets.
    void SyncScrollBars();
    void OnBarScrolled(ScrollBar& bar, int position);
    void ScrollBy(float dy);
    void RestartBlink();
    void PlaceSystemCaret();

    LRESULT OnKeyDown(WPARAM key, bool forceControl);
    LRESULT OnChar(wchar_t c);
    void OnImeComposition(LPARAM flags);
    void OnLeftDown(WPARAM keys, LPARAM position);
    void OnMouseMove(WPARAM keys, LPARAM position);
    void OnWheel(WPARAM wParam);
    void OnFocus(bool gained);
    void TypeText(std::wstring_view typed);
    void MoveCaret(TextPosition to, bool extend, bool keepPreferredX = false);
    void MoveVertically(int lines, bool extend);
    void Copy();
    void Paste();
    RectF ComputeCaretRect();
    void ShowContextMenu(LPARAM position);
    bool HasFocusNow() const { return focused_; }
    bool Editable() const { return inputType_ != kEditReadOnly; }

    EditTextBuffer buffer_;
    EditLineLayout measure_;
    TextFormat format_{nullptr, true};
    FontSlot font_;
    UniqueBrush textBrush_;
    Argb textColor_ = kEditTextColor;
    Argb backgroundColor_ = kEditBackgroundColor;
    Argb borderColor_ = kEditBorderColor;
    int inputType_ = kEditNormal;
    std::wstring passwordChar_ = L"*";
    bool multiLine_ = false;
    int scrollBars_ = 0;
    float rightMargin_ = 0;
    float scrollX_ = 0;
    float scrollY_ = 0;
    float lineHeight_ = 14;
    float widest_ = 0;
    bool widestStale_ = false;
    TextPosition caret_;
    TextPosition anchor_;
    // x the caret keeps when moving up and down through shorter lines.
    std::optional<float> preferredX_;
    RectF caretRect_{};
    bool caretOn_ = false;
    bool focused_ = false;
    bool dragging_ = false;
    std::uint64_t doubleClickTime_ = 0;
    bool afterDoubleClick_ = false;
    int wheelRest_ = 0;
    wchar_t pendingHighSurrogate_ = 0;
    HIMC savedInputContext_ = nullptr;
    bool inputContextDetached_ = false;
    bool systemCaret_ = false;
    ChangeHandler onChange_;
    ScrollBar vBar_;
    ScrollBar hBar_;
};

} // namespace kodaro::ui
