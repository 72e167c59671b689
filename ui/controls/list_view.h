// A self-drawn report list: columns and rows of cells with optional icons
// from an ImageList, a header, a hot row under the mouse, single or multiple
// selection, keyboard navigation and two scroll bars. Only the rows inside
// the view are measured and painted, so the list stays quick at any length.
//
// Rows and columns are numbered from 1 in every call; 0 means none.
//
// The list tells its owner about the user's actions through the ordinary
// control subscription (Control::Subscribe):
//   kListSelectionChanged  wParam = kListByMouse or kListByKeyboard,
//                          lParam = the row pressed or moved to
//   kListHotChanged        lParam = the row now under the mouse (0: none)
#pragma once

#include "ui/control/control.h"
#include "ui/controls/control_parent.h"
#include "ui/controls/font_slot.h"
#include "ui/controls/scroll_bar.h"
#include "ui/draw/color.h"
#include "ui/draw/text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kodaro::ui {

class ImageList;

inline constexpr UINT kListSelectionChanged = EXM_LISTNOTIFY1;
inline constexpr UINT kListHotChanged = EXM_LISTNOTIFY2;
inline constexpr WPARAM kListByMouse = 1;
inline constexpr WPARAM kListByKeyboard = 2;

// The state bit of a selected row.
inline constexpr std::uint32_t kRowSelected = 4;

// Thickness of the list's scroll bars.
inline constexpr int kListBarThickness = 14;

struct ListViewOptions {
    // Pixels between two rows.
    int rowSpacing = 1;
    // 1: selected rows are filled; 2: filled and outlined in the border colour.
    int selectionStyle = 2;
    Argb textColor = 0xD2000000;
    // Fill of selected rows; the hot row gets the same colour at half its alpha.
    Argb highlightColor = 0xD2FFFFFF;
    Argb borderColor = 0x50000000;
    // With no font name, size or style the shared default font is used.
    std::wstring fontName;
    std::optional<float> fontSize;
    std::optional<int> fontStyle;
    // A press or key selects one row only; Control and Shift change nothing.
    bool singleSelection = false;
    bool visible = true;
};

class ListView : public Control {
public:
    ListView() = default;
    ~ListView() override;

    // Creates the list (kind 8, focusable) with its two scroll bars.
    bool Create(ControlParent parent, float x, float y, float width, float height,
                const ListViewOptions& options = {});

    // --- columns and rows ------------------------------------------------

    // position 0 appends, else the new column becomes that 1-based column.
    // Every existing row gets an empty cell in it. Returns its number.
    int InsertColumn(int position, std::wstring title, int width = 50, int format = 0,
                     int image = -1);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    int ColumnWidth(int column) const;

    // position 0 appends. text fills the first cell, cells the next ones (as
    // far as there are columns); state kRowSelected selects the row. Returns
    // the row's number, or 0 when the list has no column yet.
    int InsertItem(int position, std::wstring text, int image = -1,
                   std::vector<std::wstring> cells = {}, std::uint32_t state = 0);
    bool SetItemText(int row, int column, std::wstring text);
    std::wstring GetItemText(int row, int column = 1) const;
    int ItemImage(int row, int column = 1) const;
    bool DeleteItem(int row);
    void Clear();
    int ItemCount() const { return static_cast<int>(rows_.size()); }

    // --- selection ---------------------------------------------------------

    bool Selected(int row) const;
    // Selects or deselects one row (in single selection, selecting a row
    // deselects the others). Repaints it.
    void Selected(int row, bool value);
    // The selected rows in the order they became selected.
    const std::vector<int>& SelectedRows() const { return selected_; }
    // The row the keyboard moves from (the last pressed or moved to).
    int CurrentItem() const { return current_ + 1; }
    // Makes row current, selects it alone and scrolls it into view.
    void CurrentItem(int row);
    int HotItem() const { return hot_ + 1; }
    int AnchorItem() const { return anchor_ + 1; }
    bool SingleSelection() const { return singleSelection_; }
    void SingleSelection(bool value) { singleSelection_ = value; }

    // --- look --------------------------------------------------------------

    // Icons for cells and column titles; the list does not own it.
    void SetImageList(const ImageList* list, int iconWidth, int iconHeight);
    Argb TextColor() const { return textColor_; }
    void TextColor(Argb value);
    Argb HighlightColor() const { return highlightColor_; }
    void HighlightColor(Argb value);
    Argb BorderColor() const { return borderColor_; }
    void BorderColor(Argb value);

    int RowHeight() const { return rowHeight_; }
    // Height of the header, 0 when no column has a title or an icon.
    int HeaderHeight() const { return headerHeight_; }
    // The first pixel row of the content shown at the top of the view.
    int ScrollOffset() const { return vertical_.Position(); }
    // Scrolls so that row lies inside the view.
    void EnsureVisible(int row);
    // The row at a point in window coordinates, 0 for none.
    int RowAt(int x, int y) const;

    ScrollBar& VerticalBar() { return vertical_; }
    ScrollBar& HorizontalBar() { return horizontal_; }

    // Paints from the first to the last visible row; how many rows the last
    // paint drew (for the benchmark and tests).
    int RowsPaintedLastTime() const { return rowsPainted_; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

private:
    struct Cell {
        std::wstring text;
        int image = -1;
    };
    struct Row {
        std::vector<Cell> cells;
        std::uint32_t state = 0;
    };
    struct Column {
        std::wstring title;
        int image = -1;
        int width = 50;
        int format = 0;
    };

    bool ValidRow(int index) const { return index >= 0 && index < ItemCount(); }
    void SetState(int index, bool selected);
    void ClearSelection(int except = -1);
    void SelectRange(int from, int to);
    void Press(WPARAM keys, LPARAM lParam);
    bool OnKey(WPARAM key);
    void MoveCurrent(int index, bool shift, bool control);
    void Wheel(int delta);
    void SetHot(int index);
    void Notify(UINT message, WPARAM how, int index);
    void Layout();
    // Rows or columns changed: one layout and repaint follows.
    void Changed();
    // Runs a pending layout now.
    void Settle();
    void MeasureRows();
    int ViewHeight() const;
    int ViewWidth() const;
    int ContentWidth() const;
    int PageRows() const;
    void RepaintRow(int index);
    void PaintHeader(Gdiplus::GpGraphics* graphics, int width);
    void PaintRow(Gdiplus::GpGraphics* graphics, int index, float top, int width);
    void DrawIcon(Gdiplus::GpGraphics* graphics, int image, float x, float y);
    void DropIcons();

    std::vector<Column> columns_;
    std::vector<Row> rows_;
    std::vector<int> selected_;
    FontSlot font_;
    TextFormat format_{nullptr, true};
    Argb textColor_ = 0xD2000000;
    Argb highlightColor_ = 0xD2FFFFFF;
    Argb borderColor_ = 0x50000000;
    const ImageList* images_ = nullptr;
    int iconWidth_ = 0;
    int iconHeight_ = 0;
    std::vector<UniqueBitmap> iconCache_;
    int rowSpacing_ = 1;
    int selectionStyle_ = 2;
    bool singleSelection_ = false;
    int rowHeight_ = 20;
    int headerHeight_ = 0;
    int hot_ = -1;
    int anchor_ = -1;
    int current_ = -1;
    bool keyboardUsed_ = false;
    bool layoutPending_ = false;
    int rowsPainted_ = 0;
    ScrollBar vertical_;
    ScrollBar horizontal_;
};

} // namespace kodaro::ui
