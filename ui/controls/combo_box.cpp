#include "ui/controls/combo_box.h"

#include "ui/controls/combo_drop_down.h"
#include "ui/controls/embedded_image.h"
#include "ui/controls/resource_ids.h"
#include "ui/draw/image.h"
#include "ui/draw/shapes.h"

#include <mutex>

namespace kodaro::ui {

// The frame (two 20 x 26 cells: normal, hot) and the arrow (two 15 x 12
// cells: normal, open), cut from the embedded strips.
struct ComboArt {
    UniqueBitmap frame[2];
    UniqueBitmap arrow[2];
};

namespace {

constexpr int kFrameCell = 20;
constexpr int kFrameHeight = 26;
constexpr int kArrowCell = 15;
constexpr int kArrowHeight = 12;
constexpr int kFrameOpacity = 244;
// The stretchable middle of a frame cell.
const RectF kFrameCentre = MakeRectF(5, 5, 10, 16);
constexpr float kTextLeft = 6;
constexpr float kArrowRight = 6;
// The arrow's strip at the right end, which a press opens the list from.
constexpr float kArrowArea = kArrowRight + kArrowCell + 2;
// Posted to the combo itself: open the drop-down once the press or key that
// asked for it has been handled.
constexpr UINT kOpenMessage = WM_USER + 0x102;
// How long after a close by a press a press on the combo is taken as that
// same press.
constexpr DWORD kReopenGuard = 500;

UniqueBitmap Cut(Gdiplus::GpImage* strip, int x, int width, int height) {
    Gdiplus::GpBitmap* cell = nullptr;
    if (strip == nullptr ||
        gdip::GdipCloneBitmapAreaI(x, 0, width, height, PixelFormat32bppARGB,
                                   static_cast<Gdiplus::GpBitmap*>(strip), &cell) != Gdiplus::Ok) {
        return nullptr;
    }
    return UniqueBitmap(cell);
}

// Decoded once and shared while any combo lives, so the pictures never
// outlive GDI+.
std::shared_ptr<ComboArt> LoadArt() {
    static std::mutex lock;
    static std::weak_ptr<ComboArt> shared;
    std::lock_guard<std::mutex> guard(lock);
    if (std::shared_ptr<ComboArt> existing = shared.lock()) {
        return existing;
    }
    MemoryImage frame = LoadEmbeddedImage(IDR_COMBO_FRAME);
    MemoryImage arrow = LoadEmbeddedImage(IDR_COMBO_ARROW);
    auto art = std::make_shared<ComboArt>();
    for (int i = 0; i < 2; ++i) {
        art->frame[i] = Cut(frame.get(), i * kFrameCell, kFrameCell, kFrameHeight);
        art->arrow[i] = Cut(arrow.get(), i * kArrowCell, kArrowCell, kArrowHeight);
    }
    shared = art;
    return art;
}

} // namespace

ComboBox::~ComboBox() {
    Destroy();
}

bool ComboBox::Create(ControlParent parent, float x, float y, float width, float height,
                      std::wstring text, const ComboBoxOptions& options) {
    if (parent.Host() == nullptr) {
        return false;
    }
    Destroy();
    text_ = std::move(text);
    current_ = 0;
    textColor_ = options.textColor;
    editable_ = options.editable;
    font_.Make(options.fontName, options.fontSize, options.fontStyle);
    format_ = SingleLineFormat();
    return parent.CreateIn(*this, MakeRectF(x, y, width, height), kKindComboBox, options.visible,
                           true);
}

void ComboBox::Text(std::wstring value) {
    text_ = std::move(value);
    if (Editor() != nullptr && editor_.Text() != text_) {
        editor_.Text(text_, true);
    }
    Redraw();
}

RectF ComboBox::EditorRect() const {
    // Over the combo, left of the arrow and 4 pixels in from top and bottom.
    return MakeRectF(X() + 3, Y() + 4, Width() - 3 - kArrowArea, Height() - 8);
}

void ComboBox::CreateEditor() {
    EditBoxOptions look;
    look.textColor = textColor_;
    look.backgroundColor = 0;
    look.borderColor = 0;
    const RectF rect = EditorRect();
    if (!editor_.Create(*this, rect.X, rect.Y, rect.Width, rect.Height, text_, look)) {
        return;
    }
    // What is typed becomes the combo's text.
    editor_.OnChange([this](Control*, EditBox* box) { text_ = box->Text(); });
    editor_.Subscribe(WM_KEYDOWN, [this](Control*, Control*, UINT, WPARAM key, LPARAM) {
        if (key == VK_F4) {
            Post(kOpenMessage);
        }
    });
}

void ComboBox::CurrentIndex(int index) {
    if (!ValidIndex(index)) {
        return;
    }
    current_ = index;
    Text(items_[static_cast<size_t>(index - 1)].text);
}

LPARAM ComboBox::ItemData(int index) const {
    return ValidIndex(index) ? items_[static_cast<size_t>(index - 1)].data : 0;
}

void ComboBox::SetItemData(int index, LPARAM value) {
    if (ValidIndex(index)) {
        items_[static_cast<size_t>(index - 1)].data = value;
    }
}

std::wstring ComboBox::ItemText(int index) const {
    return ValidIndex(index) ? items_[static_cast<size_t>(index - 1)].text : std::wstring();
}

void ComboBox::SetItemText(int index, std::wstring text) {
    if (ValidIndex(index)) {
        items_[static_cast<size_t>(index - 1)].text = std::move(text);
    }
}

int ComboBox::AddItem(std::wstring text, LPARAM data) {
    return InsertItem(0, std::move(text), data);
}

int ComboBox::InsertItem(int position, std::wstring text, LPARAM data) {
    const int count = ItemCount();
    const int index = position <= 0 || position > count ? count + 1 : position;
    items_.insert(items_.begin() + (index - 1), Item{std::move(text), data});
    if (current_ >= index) {
        ++current_;
    }
    return index;
}

bool ComboBox::DeleteItem(int index) {
    if (!ValidIndex(index)) {
        return false;
    }
    items_.erase(items_.begin() + (index - 1));
    if (current_ == index) {
        current_ = 0;
    } else if (current_ > index) {
        --current_;
    }
    return true;
}

void ComboBox::Clear() {
    items_.clear();
    current_ = 0;
}

void ComboBox::TextColor(Argb value) {
    textColor_ = value;
    Redraw();
}

bool ComboBox::DropDown() {
    if (!Created() || dropped_) {
        return false;
    }
    if (onBefore_) {
        DropDownHandler before = onBefore_;
        before(*this);
    }
    std::vector<std::wstring> texts;
    texts.reserve(items_.size());
    for (const Item& item : items_) {
        texts.push_back(item.text);
    }
    dropped_ = true;
    Redraw();
    const int chosen = RunDropDown(*this, texts);
    dropped_ = false;
    closedUnderPress_ = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
    closedAt_ = GetTickCount();
    // The window may have gone while the list was open.
    if (!Created() || chosen < 0) {
        return false;
    }
    Redraw();
    if (onAfter_) {
        DropDownHandler after = onAfter_;
        after(*this);
    }
    if (chosen > 0 && Created()) {
        Choose(chosen);
        return true;
    }
    return false;
}

void ComboBox::Choose(int index) {
    if (!ValidIndex(index)) {
        return;
    }
    CurrentIndex(index);
    if (onSelect_) {
        SelectHandler handler = onSelect_;
        handler(*this, index);
    }
}

void ComboBox::Step(int delta) {
    const int target = current_ == 0 ? (delta > 0 ? 1 : ItemCount()) : current_ + delta;
    if (ValidIndex(target) && target != current_) {
        Choose(target);
    }
}

LRESULT ComboBox::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_CREATE:
        art_ = LoadArt();
        if (editable_) {
            CreateEditor();
        }
        return 0;
    case WM_DESTROY:
        art_.reset();
        font_.Reset();
        format_ = TextFormat(nullptr, true);
        hot_ = false;
        editable_ = false;
        return 0;
    case WM_LBUTTONDOWN:
        if (closedUnderPress_ && GetTickCount() - closedAt_ < kReopenGuard) {
            closedUnderPress_ = false;
            return 0;
        }
        closedUnderPress_ = false;
        Post(kOpenMessage);
        return 0;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_SPACE:
        case VK_RETURN:
        case VK_F4:
            Post(kOpenMessage);
            return 0;
        case VK_UP:
            Step(-1);
            return 0;
        case VK_DOWN:
            Step(1);
            return 0;
        default:
            return kNotHandled;
        }
    case kOpenMessage:
        DropDown();
        return 0;
    case EXM_MOUSEENTER:
    case EXM_MOUSELEAVE:
        hot_ = message == EXM_MOUSEENTER;
        if (Editor() != nullptr) {
            DispatchControlMessage(&editor_, message, wParam, 0);
        }
        Redraw();
        return 0;
    case EXM_SETFOCUS:
        // An editable combo types into its box.
        if (Editor() != nullptr) {
            PostMessageW(Window(), EXM_SETFOCUS, 0, reinterpret_cast<LPARAM>(&editor_));
        }
        Redraw();
        return 0;
    case EXM_KILLFOCUS:
        Redraw();
        return 0;
    case EXM_QUERYFOCUS:
        // An editable combo has the focus while its box has it.
        if (Editor() != nullptr) {
            return editor_.HasFocus() ? 1 : 0;
        }
        return kNotHandled;
    case EXM_SIZE:
        if (Editor() != nullptr) {
            editor_.Rect(EditorRect());
        }
        return 0;
    default:
        return kNotHandled;
    }
}

void ComboBox::Paint(Gdiplus::GpGraphics* graphics, int width, int height) {
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    if (art_) {
        if (Gdiplus::GpBitmap* frame = art_->frame[hot_ || dropped_ ? 1 : 0].get()) {
            DrawImageNineGrid(graphics, frame, MakeRectF(0, 0, w, h), kFrameCentre, kFrameOpacity,
                              true);
        }
        if (Gdiplus::GpBitmap* arrow = art_->arrow[dropped_ ? 1 : 0].get()) {
            DrawImageRect(graphics, arrow,
                          MakeRectF(w - kArrowRight - kArrowCell,
                                    static_cast<float>((height - kArrowHeight) / 2), kArrowCell,
                                    kArrowHeight));
        }
    }
    // An editable combo's box shows the text.
    if (!editable_) {
        const RectF textBox = MakeRectF(kTextLeft, 0, w - kTextLeft - kArrowArea, h);
        DrawTextEffect(graphics, textBox, text_, font_.get(), textColor_, format_.get());
    }
    if (!editable_ && HasFocus() && !dropped_) {
        DrawBorder(graphics, MakeRectF(3, 3, w - kArrowRight - kArrowCell - 6, h - 6),
                   kBorderDashed);
    }
}

} // namespace kodaro::ui
