#include "ui/controls/list_view.h"

#include "ui/controls/control_messages.h"
#include "ui/controls/image_list.h"
#include "ui/draw/shapes.h"

#include <algorithm>
#include <cmath>

namespace kodaro::ui {

namespace {

constexpr Argb kHeaderTop = 0xCCFFFFFF;
constexpr Argb kHeaderBottom = 0x99FFFFFF;
constexpr Argb kHeaderText = 0xD2000000;
constexpr Argb kHeaderLine = 0x33000000;
// Text on a dark selection.
constexpr Argb kLightText = 0xF0FFFFFF;
constexpr int kCellInset = 2;
constexpr int kIconGap = 4;
constexpr int kWheelRows = 3;
// Posted to the list itself after its rows changed.
constexpr UINT kSettleMessage = WM_USER + 0x101;

Argb HalfAlpha(Argb color) {
    return (((color >> 24) / 2) << 24) | (color & 0xFFFFFF);
}

bool KeyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

} // namespace

ListView::~ListView() {
    Destroy();
}

bool ListView::Create(ControlParent parent, float x, float y, float width, float height,
                      const ListViewOptions& options) {
    if (parent.Host() == nullptr) {
        return false;
    }
    Destroy();
    rowSpacing_ = std::max(0, options.rowSpacing);
    selectionStyle_ = options.selectionStyle;
    textColor_ = options.textColor;
    highlightColor_ = options.highlightColor;
    borderColor_ = options.borderColor;
    singleSelection_ = options.singleSelection;
    font_.Make(options.fontName, options.fontSize, options.fontStyle);
    format_ = SingleLineFormat();
    return parent.CreateIn(*this, MakeRectF(x, y, width, height), kKindListView, options.visible,
                           true);
}

// --- columns and rows ----------------------------------------------------------

int ListView::InsertColumn(int position, std::wstring title, int width, int format, int image) {
    const int count = ColumnCount();
    const int index = position <= 0 || position > count ? count : position - 1;
    columns_.insert(columns_.begin() + index,
                    Column{std::move(title), image, width > 0 ? width : 50, format});
    for (Row& row : rows_) {
        row.cells.insert(row.cells.begin() + index, Cell{});
    }
    Changed();
    return index + 1;
}

int ListView::ColumnWidth(int column) const {
    return column >= 1 && column <= ColumnCount() ? columns_[column - 1].width : 0;
}

int ListView::InsertItem(int position, std::wstring text, int image,
                         std::vector<std::wstring> cells, std::uint32_t state) {
    if (columns_.empty()) {
        return 0;
    }
    const int count = ItemCount();
    const int index = position <= 0 || position > count ? count : position - 1;
    Row row;
    row.cells.resize(columns_.size());
    row.cells[0] = Cell{std::move(text), image};
    for (size_t i = 0; i < cells.size() && i + 1 < row.cells.size(); ++i) {
        row.cells[i + 1].text = std::move(cells[i]);
    }
    rows_.insert(rows_.begin() + index, std::move(row));
    // Row numbers after the new row move down by one.
    if (index < count) {
        for (int& selected : selected_) {
            selected += selected > index ? 1 : 0;
        }
        for (int* mark : {&hot_, &anchor_, &current_}) {
            *mark += *mark >= index ? 1 : 0;
        }
    }
    if ((state & kRowSelected) != 0) {
        SetState(index, true);
    }
    Changed();
    return index + 1;
}

bool ListView::SetItemText(int row, int column, std::wstring text) {
    if (!ValidRow(row - 1) || column < 1 || column > ColumnCount()) {
        return false;
    }
    rows_[row - 1].cells[column - 1].text = std::move(text);
    RepaintRow(row - 1);
    return true;
}

std::wstring ListView::GetItemText(int row, int column) const {
    if (!ValidRow(row - 1) || column < 1 || column > ColumnCount()) {
        return {};
    }
    return rows_[row - 1].cells[column - 1].text;
}

int ListView::ItemImage(int row, int column) const {
    if (!ValidRow(row - 1) || column < 1 || column > ColumnCount()) {
        return -1;
    }
    return rows_[row - 1].cells[column - 1].image;
}

bool ListView::DeleteItem(int row) {
    const int index = row - 1;
    if (!ValidRow(index)) {
        return false;
    }
    std::erase(selected_, index + 1);
    for (int& selected : selected_) {
        selected -= selected > index + 1 ? 1 : 0;
    }
    for (int* mark : {&hot_, &anchor_, &current_}) {
        if (*mark == index) {
            *mark = -1;
        } else if (*mark > index) {
            --*mark;
        }
    }
    rows_.erase(rows_.begin() + index);
    Changed();
    return true;
}

void ListView::Clear() {
    rows_.clear();
    selected_.clear();
    hot_ = anchor_ = current_ = -1;
    vertical_.Position(0);
    Changed();
}

// --- selection -------------------------------------------------------------------

bool ListView::Selected(int row) const {
    return ValidRow(row - 1) && (rows_[row - 1].state & kRowSelected) != 0;
}

void ListView::Selected(int row, bool value) {
    if (!ValidRow(row - 1)) {
        return;
    }
    if (value && singleSelection_) {
        ClearSelection(row - 1);
    }
    SetState(row - 1, value);
    RepaintRow(row - 1);
}

void ListView::SetState(int index, bool selected) {
    Row& row = rows_[index];
    const bool was = (row.state & kRowSelected) != 0;
    if (was == selected) {
        return;
    }
    // The array follows the states: appended on selection, removed on
    // deselection.
    if (selected) {
        row.state |= kRowSelected;
        selected_.push_back(index + 1);
    } else {
        row.state &= ~kRowSelected;
        std::erase(selected_, index + 1);
    }
}

void ListView::ClearSelection(int except) {
    std::vector<int> previous;
    previous.swap(selected_);
    for (int row : previous) {
        if (row - 1 == except) {
            selected_.push_back(row);
        } else {
            rows_[row - 1].state &= ~kRowSelected;
        }
    }
}

void ListView::SelectRange(int from, int to) {
    const int low = std::min(from, to);
    const int high = std::max(from, to);
    std::vector<int> previous;
    previous.swap(selected_);
    for (int row : previous) {
        if (row - 1 < low || row - 1 > high) {
            rows_[row - 1].state &= ~kRowSelected;
        } else {
            selected_.push_back(row);
        }
    }
    for (int index = low; index <= high; ++index) {
        SetState(index, true);
    }
}

void ListView::CurrentItem(int row) {
    if (!ValidRow(row - 1)) {
        return;
    }
    current_ = anchor_ = row - 1;
    ClearSelection(current_);
    SetState(current_, true);
    EnsureVisible(row);
    Redraw();
}

// --- look --------------------------------------------------------------------------

void ListView::SetImageList(const ImageList* list, int iconWidth, int iconHeight) {
    images_ = list;
    iconWidth_ = list != nullptr ? std::max(0, iconWidth) : 0;
    iconHeight_ = list != nullptr ? std::max(0, iconHeight) : 0;
    DropIcons();
    Layout();
    Redraw();
}

void ListView::DropIcons() {
    iconCache_.clear();
}

void ListView::TextColor(Argb value) {
    textColor_ = value;
    Redraw();
}

void ListView::HighlightColor(Argb value) {
    highlightColor_ = value;
    Redraw();
}

void ListView::BorderColor(Argb value) {
    borderColor_ = value;
    Redraw();
}

// --- layout and scrolling ------------------------------------------------------------

void ListView::MeasureRows() {
    float text = 16;
    if (Graphics() != nullptr && font_.get() != nullptr) {
        text = std::ceil(FontHeight(Graphics(), font_.get()));
    }
    rowHeight_ = std::max(static_cast<int>(text), iconHeight_) + 6 + rowSpacing_;
    const bool titled = std::any_of(columns_.begin(), columns_.end(), [](const Column& column) {
        return !column.title.empty() || column.image >= 0;
    });
    headerHeight_ = titled ? std::max(static_cast<int>(text), iconHeight_) + 8 : 0;
}

int ListView::ContentWidth() const {
    int total = 0;
    for (const Column& column : columns_) {
        total += column.width;
    }
    return total;
}

int ListView::ViewHeight() const {
    const int bar = horizontal_.Created() && horizontal_.Visible() ? kListBarThickness : 0;
    return std::max(0, static_cast<int>(Height()) - headerHeight_ - bar);
}

int ListView::ViewWidth() const {
    const int bar = vertical_.Created() && vertical_.Visible() ? kListBarThickness : 0;
    return std::max(0, static_cast<int>(Width()) - bar);
}

int ListView::PageRows() const {
    return std::max(1, ViewHeight() / std::max(1, rowHeight_) - 1);
}

void ListView::Layout() {
    if (!Created() || !vertical_.Created() || !horizontal_.Created()) {
        return;
    }
    MeasureRows();
    const int width = static_cast<int>(Width());
    const int height = static_cast<int>(Height());
    const long long content = static_cast<long long>(ItemCount()) * rowHeight_;
    // Each bar takes room from the other's view, so decide both together.
    bool needVertical = content > height - headerHeight_;
    const bool needHorizontal = ContentWidth() > width - (needVertical ? kListBarThickness : 0);
    if (!needVertical && needHorizontal) {
        needVertical = content > height - headerHeight_ - kListBarThickness;
    }
    const int viewHeight =
        std::max(0, height - headerHeight_ - (needHorizontal ? kListBarThickness : 0));
    const int viewWidth = std::max(0, width - (needVertical ? kListBarThickness : 0));

    const auto left = static_cast<float>(X());
    const auto top = static_cast<float>(Y());
    vertical_.Move(left + static_cast<float>(width - kListBarThickness),
                   top + static_cast<float>(headerHeight_), static_cast<float>(kListBarThickness),
                   static_cast<float>(std::max(1, viewHeight)), false);
    vertical_.LineStep(rowHeight_);
    vertical_.PageSize(std::max(1, viewHeight - rowHeight_));
    vertical_.Maximum(needVertical
                          ? static_cast<int>(std::min<long long>(content - viewHeight, INT_MAX / 2))
                          : 0);
    vertical_.Visible(needVertical);

    horizontal_.Move(left, top + static_cast<float>(height - kListBarThickness),
                     static_cast<float>(std::max(1, viewWidth)),
                     static_cast<float>(kListBarThickness), false);
    horizontal_.LineStep(20);
    horizontal_.PageSize(std::max(1, viewWidth - 20));
    horizontal_.Maximum(needHorizontal ? ContentWidth() - viewWidth : 0);
    horizontal_.Visible(needHorizontal);
}

void ListView::Changed() {
    // Filling a list adds rows one by one: lay out and repaint once, when the
    // window's queue gets to it (or earlier, when something needs the layout).
    if (!layoutPending_ && Created()) {
        layoutPending_ = Post(kSettleMessage);
    }
}

void ListView::Settle() {
    if (!layoutPending_) {
        return;
    }
    layoutPending_ = false;
    Layout();
    Redraw();
}

void ListView::EnsureVisible(int row) {
    Settle();
    const int index = row - 1;
    if (!ValidRow(index)) {
        return;
    }
    const int top = index * rowHeight_;
    const int bottom = top + rowHeight_;
    const int offset = vertical_.Position();
    if (top < offset) {
        vertical_.Position(top);
    } else if (bottom > offset + ViewHeight()) {
        vertical_.Position(bottom - ViewHeight());
    }
}

int ListView::RowAt(int x, int y) const {
    const float localX = static_cast<float>(x) - X();
    const float localY = static_cast<float>(y) - Y() - static_cast<float>(headerHeight_);
    if (localX < 0 || localX >= static_cast<float>(ViewWidth()) || localY < 0 ||
        localY >= static_cast<float>(ViewHeight())) {
        return 0;
    }
    const long long index = (static_cast<long long>(localY) + vertical_.Position()) / rowHeight_;
    return index < ItemCount() ? static_cast<int>(index) + 1 : 0;
}

void ListView::Wheel(int delta) {
    Settle();
    if (vertical_.Maximum() <= 0) {
        return;
    }
    // Three rows a notch; a positive delta moves towards the top.
    const int notches = delta / WHEEL_DELTA;
    const int step = notches != 0 ? notches : (delta > 0 ? 1 : -1);
    vertical_.Position(vertical_.Position() - step * kWheelRows * rowHeight_);
    Redraw();
}

// --- input ---------------------------------------------------------------------------

void ListView::Notify(UINT message, WPARAM how, int index) {
    DispatchControlMessage(this, message, how, static_cast<LPARAM>(index + 1));
}

void ListView::SetHot(int index) {
    if (index == hot_) {
        return;
    }
    const int old = hot_;
    hot_ = index;
    RepaintRow(old);
    RepaintRow(hot_);
    Notify(kListHotChanged, 0, hot_);
}

void ListView::Press(WPARAM keys, LPARAM lParam) {
    Settle();
    const int index = RowAt(MouseX(lParam), MouseY(lParam)) - 1;
    if (index < 0) {
        return;
    }
    // A double click's marker replaces the key flags.
    const bool control = keys == kDoubleClickMarker ? KeyDown(VK_CONTROL) : (keys & MK_CONTROL);
    const bool shift = keys == kDoubleClickMarker ? KeyDown(VK_SHIFT) : (keys & MK_SHIFT);
    keyboardUsed_ = false;
    current_ = index;
    if (singleSelection_ || (!control && !shift)) {
        ClearSelection(index);
        SetState(index, true);
        anchor_ = index;
    } else if (control) {
        SetState(index, !Selected(index + 1));
        anchor_ = index;
    } else {
        SelectRange(ValidRow(anchor_) ? anchor_ : index, index);
    }
    EnsureVisible(index + 1);
    Redraw();
    Notify(kListSelectionChanged, kListByMouse, index);
}

void ListView::MoveCurrent(int index, bool shift, bool control) {
    index = std::max(0, std::min(index, ItemCount() - 1));
    current_ = index;
    if (singleSelection_ || (!shift && !control)) {
        ClearSelection(index);
        SetState(index, true);
        anchor_ = index;
    } else if (shift) {
        SelectRange(ValidRow(anchor_) ? anchor_ : index, index);
    }
    // Control alone moves the current row and leaves the selection.
    EnsureVisible(index + 1);
    Redraw();
    if (!control || shift || singleSelection_) {
        Notify(kListSelectionChanged, kListByKeyboard, index);
    }
}

bool ListView::OnKey(WPARAM key) {
    Settle();
    if (rows_.empty()) {
        return false;
    }
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    const int from = ValidRow(current_) ? current_ : -1;
    int target = 0;
    switch (key) {
    case VK_UP:
        target = from < 0 ? 0 : from - 1;
        break;
    case VK_DOWN:
        target = from + 1;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = ItemCount() - 1;
        break;
    case VK_PRIOR:
        target = from < 0 ? 0 : from - PageRows();
        break;
    case VK_NEXT:
        target = from < 0 ? 0 : from + PageRows();
        break;
    case VK_SPACE:
        // Control+Space toggles the current row, as in the system's lists.
        if (!control || singleSelection_ || from < 0) {
            return false;
        }
        keyboardUsed_ = true;
        SetState(from, !Selected(from + 1));
        anchor_ = from;
        RepaintRow(from);
        Notify(kListSelectionChanged, kListByKeyboard, from);
        return true;
    case 'A':
        if (!control || singleSelection_) {
            return false;
        }
        keyboardUsed_ = true;
        SelectRange(0, ItemCount() - 1);
        Redraw();
        return true;
    default:
        return false;
    }
    keyboardUsed_ = true;
    MoveCurrent(target, shift, control);
    return true;
}

LRESULT ListView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        vertical_.Create(*this, X(), Y(), kListBarThickness, 1, false, false);
        horizontal_.Create(*this, X(), Y(), 1, kListBarThickness, true, false);
        vertical_.OnScroll([this](ScrollBar&, int) { Redraw(); });
        horizontal_.OnScroll([this](ScrollBar&, int) { Redraw(); });
        Layout();
        return 0;
    case WM_DESTROY:
        columns_.clear();
        rows_.clear();
        selected_.clear();
        DropIcons();
        images_ = nullptr;
        font_.Reset();
        format_ = TextFormat(nullptr, true);
        hot_ = anchor_ = current_ = -1;
        return 0;
    case kSettleMessage:
        Settle();
        return 0;
    case WM_MOUSEMOVE:
        Settle();
        SetHot(RowAt(MouseX(lParam), MouseY(lParam)) - 1);
        return 0;
    case EXM_MOUSELEAVE:
        SetHot(-1);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        Press(wParam, lParam);
        return 0;
    case WM_KEYDOWN:
        return OnKey(wParam) ? 0 : kNotHandled;
    case WM_MOUSEWHEEL:
        Wheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case EXM_SETFOCUS:
    case EXM_KILLFOCUS:
        keyboardUsed_ = false;
        Layout();
        Redraw();
        return 0;
    case EXM_SIZE:
        Layout();
        return 0;
    case EXM_LISTNOTIFY1:
    case EXM_LISTNOTIFY2:
    case EXM_BACKGROUNDCHANGED:
        Redraw();
        return 0;
    case EXM_ALPHACHANGED:
        vertical_.Opacity(static_cast<int>(lParam));
        horizontal_.Opacity(static_cast<int>(lParam));
        return 0;
    default:
        return kNotHandled;
    }
}

// --- painting ------------------------------------------------------------------------

void ListView::RepaintRow(int index) {
    // The list's surface is one picture; a row change repaints the visible
    // rows, which is all a paint ever touches.
    if (ValidRow(index)) {
        Redraw();
    }
}

void ListView::DrawIcon(Gdiplus::GpGraphics* graphics, int image, float x, float y) {
    if (images_ == nullptr || image < 0 || image >= images_->Count()) {
        return;
    }
    if (iconCache_.size() < static_cast<size_t>(images_->Count())) {
        iconCache_.resize(static_cast<size_t>(images_->Count()));
    }
    UniqueBitmap& icon = iconCache_[static_cast<size_t>(image)];
    if (!icon) {
        icon = images_->Picture(image);
    }
    if (icon) {
        DrawImageRect(
            graphics, icon.get(),
            MakeRectF(x, y, static_cast<float>(iconWidth_), static_cast<float>(iconHeight_)));
    }
}

void ListView::PaintHeader(Gdiplus::GpGraphics* graphics, int width) {
    const auto height = static_cast<float>(headerHeight_);
    FillGradient(graphics, MakeRectF(0, 0, static_cast<float>(width) + 1, height + 1), kHeaderTop,
                 kHeaderBottom);
    float x = -static_cast<float>(horizontal_.Position());
    for (const Column& column : columns_) {
        const auto columnWidth = static_cast<float>(column.width);
        RectF cell = MakeRectF(x + kCellInset, 0, columnWidth - 2 * kCellInset, height);
        if (column.image >= 0 && iconWidth_ > 0) {
            DrawIcon(graphics, column.image, cell.X,
                     (height - static_cast<float>(iconHeight_)) / 2);
            cell = GrowRect(cell, static_cast<float>(iconWidth_ + kIconGap), 0,
                            -static_cast<float>(iconWidth_ + kIconGap), 0);
        }
        DrawTextEffect(graphics, cell, column.title, font_.get(), kHeaderText, format_.get());
        x += columnWidth;
        DrawLine(graphics, kHeaderLine, x - 1, 0, x - 1, height - 1);
    }
    DrawLine(graphics, kHeaderLine, 0, height - 1, static_cast<float>(width), height - 1);
}

void ListView::PaintRow(Gdiplus::GpGraphics* graphics, int index, float top, int width) {
    const Row& row = rows_[static_cast<size_t>(index)];
    const bool selected = (row.state & kRowSelected) != 0;
    const auto band = static_cast<float>(rowHeight_ - rowSpacing_);
    const RectF area = MakeRectF(1, top, static_cast<float>(width) - 2, band);
    if (selected || index == hot_) {
        const Argb fill = selected ? highlightColor_ : HalfAlpha(highlightColor_);
        if (selectionStyle_ == 2) {
            FillRoundRect(graphics, area, 4, fill);
            if (selected) {
                DrawRoundRect(graphics, area, 4, borderColor_);
            }
        } else {
            FillRectangle(graphics, GrowRect(area, 0, 0, 1, 1), fill);
        }
    }
    if (index == current_ && keyboardUsed_ && HasFocus()) {
        DrawBorder(graphics, GrowRect(area, 1, 1, -2, -2), kBorderDashed);
    }
    const Argb text = selected && IsDarkColour(highlightColor_) ? kLightText : textColor_;
    float x = -static_cast<float>(horizontal_.Position());
    for (size_t c = 0; c < columns_.size(); ++c) {
        const auto columnWidth = static_cast<float>(columns_[c].width);
        if (x >= static_cast<float>(width)) {
            break;
        }
        if (x + columnWidth > 0) {
            const Cell& cell = row.cells[c];
            RectF box = MakeRectF(x + kCellInset + 1, top, columnWidth - 2 * kCellInset - 1, band);
            if (cell.image >= 0 && iconWidth_ > 0) {
                DrawIcon(graphics, cell.image, box.X,
                         top + std::floor((band - static_cast<float>(iconHeight_)) / 2));
                box = GrowRect(box, static_cast<float>(iconWidth_ + kIconGap), 0,
                               -static_cast<float>(iconWidth_ + kIconGap), 0);
            }
            if (!cell.text.empty() && box.Width > 0) {
                DrawTextEffect(graphics, box, cell.text, font_.get(), text, format_.get());
            }
        }
        x += columnWidth;
    }
}

void ListView::Paint(Gdiplus::GpGraphics* graphics, int width, int) {
    rowsPainted_ = 0;
    if (headerHeight_ > 0) {
        PaintHeader(graphics, width);
    }
    const int view = ViewHeight();
    const int viewWidth = std::min(width, ViewWidth());
    if (rows_.empty() || view <= 0 || rowHeight_ <= 0) {
        return;
    }
    SetClipRect(graphics, MakeRectF(0, static_cast<float>(headerHeight_),
                                    static_cast<float>(viewWidth), static_cast<float>(view)));
    const int offset = vertical_.Position();
    const int first = offset / rowHeight_;
    const int last = std::min(ItemCount() - 1, (offset + view) / rowHeight_);
    for (int index = first; index <= last; ++index) {
        const auto top = static_cast<float>(headerHeight_ + index * rowHeight_ - offset);
        PaintRow(graphics, index, top, viewWidth);
        ++rowsPainted_;
    }
    ResetClip(graphics);
}

} // namespace kodaro::ui
