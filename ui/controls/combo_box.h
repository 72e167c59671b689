// A drop-down choice: the current text in a framed box with an arrow, and a
// list of items that opens in its own window below the box (a press, Space
// or Enter opens it; arrows and Enter or a click choose inside it; Escape or
// a click elsewhere closes it). Up and Down on the closed box step through
// the items. An editable combo types its text into an embedded EditBox laid
// over the box left of the arrow.
//
// Items are numbered from 1; 0 means none.
#pragma once

#include "ui/control/control.h"
#include "ui/controls/control_parent.h"
#include "ui/controls/edit_box.h"
#include "ui/controls/font_slot.h"
#include "ui/draw/color.h"
#include "ui/draw/text.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kodaro::ui {

struct ComboArt;

// Black at alpha 210.
inline constexpr Argb kComboTextColor = 0xD2000000;
// The drop-down shows at most this many rows; more scroll.
inline constexpr int kDropDownMaxRows = 8;

struct ComboBoxOptions {
    Argb textColor = kComboTextColor;
    // With no font name, size or style the shared default font is used.
    std::wstring fontName;
    std::optional<float> fontSize;
    std::optional<int> fontStyle;
    // The text is typed into an embedded edit box.
    bool editable = false;
    bool visible = true;
};

class ComboBox : public Control {
public:
    // (combo, chosen item) after the user chose an item.
    using SelectHandler = std::function<void(ComboBox& combo, int index)>;
    using DropDownHandler = std::function<void(ComboBox& combo)>;

    ComboBox() = default;
    ~ComboBox() override;

    // Creates the combo (kind 15, focusable) showing text.
    bool Create(ControlParent parent, float x, float y, float width, float height,
                std::wstring text = {}, const ComboBoxOptions& options = {});

    const std::wstring& Text() const { return text_; }
    // An editable combo also puts the text into its edit box.
    void Text(std::wstring value);
    bool Editable() const { return editable_; }
    // The embedded edit box of an editable combo, else null.
    EditBox* Editor() { return editable_ && editor_.Created() ? &editor_ : nullptr; }
    int CurrentIndex() const { return current_; }
    // Only a valid index is taken; the text becomes that item's.
    void CurrentIndex(int index);

    int ItemCount() const { return static_cast<int>(items_.size()); }
    bool ValidIndex(int index) const { return index >= 1 && index <= ItemCount(); }
    LPARAM ItemData(int index) const;
    void SetItemData(int index, LPARAM value);
    std::wstring ItemText(int index) const;
    void SetItemText(int index, std::wstring text);
    // Appends; returns the new item's index.
    int AddItem(std::wstring text, LPARAM data = 0);
    // position 0 appends, else the item becomes that index.
    int InsertItem(int position, std::wstring text, LPARAM data = 0);
    bool DeleteItem(int index);
    void Clear();

    void OnSelect(SelectHandler handler) { onSelect_ = std::move(handler); }
    void OnBeforeDropDown(DropDownHandler handler) { onBefore_ = std::move(handler); }
    void OnAfterDropDown(DropDownHandler handler) { onAfter_ = std::move(handler); }

    Argb TextColor() const { return textColor_; }
    void TextColor(Argb value);
    Gdiplus::GpFont* Font() const { return font_.get(); }

    // Opens the drop-down and returns once it has closed: true when an item
    // was chosen. False at once when another drop-down of the process is
    // open or the combo is not created.
    bool DropDown();
    bool DroppedDown() const { return dropped_; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

private:
    struct Item {
        std::wstring text;
        LPARAM data = 0;
    };

    // The item chosen in the drop-down becomes current and is announced.
    void Choose(int index);
    void Step(int delta);
    void CreateEditor();
    RectF EditorRect() const;

    std::vector<Item> items_;
    std::wstring text_;
    int current_ = 0;
    FontSlot font_;
    TextFormat format_{nullptr, true};
    Argb textColor_ = kComboTextColor;
    bool hot_ = false;
    bool dropped_ = false;
    // The drop-down closed while the button was down (a click on the combo
    // itself closes it; that click must not open it again).
    bool closedUnderPress_ = false;
    DWORD closedAt_ = 0;
    bool editable_ = false;
    EditBox editor_;
    SelectHandler onSelect_;
    DropDownHandler onBefore_;
    DropDownHandler onAfter_;
    // The frame and arrow artwork, shared by every combo of the process.
    std::shared_ptr<ComboArt> art_;
};

} // namespace kodaro::ui
