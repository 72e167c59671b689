#include "ui/controls/radio_button.h"

#include "ui/controls/embedded_image.h"
#include "ui/controls/resource_ids.h"
#include "ui/draw/shapes.h"
#include "ui/host/host_window.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace kodaro::ui {

namespace {

// The first control of the list a radio's group lives in: its parent's
// children, or the window's top-level controls.
Control* FirstOfList(const Control& control) {
    if (control.Parent() != nullptr) {
        return control.Parent()->FirstChild();
    }
    return control.Host() != nullptr ? control.Host()->FirstControl() : nullptr;
}

} // namespace

std::shared_ptr<MemoryImage> RadioButton::LoadGlyphs() {
    // Loaded once and shared while any radio lives; the last one to go frees
    // it, so the image never outlives GDI+.
    static std::mutex lock;
    static std::weak_ptr<MemoryImage> shared;
    std::lock_guard<std::mutex> guard(lock);
    if (std::shared_ptr<MemoryImage> existing = shared.lock()) {
        return existing;
    }
    auto image = std::make_shared<MemoryImage>(LoadEmbeddedImage(IDR_RADIO_GLYPH));
    if (!*image) {
        return nullptr;
    }
    shared = image;
    return image;
}

void RadioButton::Checked(bool value, bool exclusive) {
    if (value && exclusive) {
        Check();
    }
    checked_ = value;
    Redraw();
}

void RadioButton::Check() {
    if (checked_) {
        return;
    }
    Control* sibling = FirstOfList(*this);
    for (; sibling != nullptr; sibling = sibling->NextSibling()) {
        if (sibling != this && sibling->Kind() == kKindRadioButton) {
            DispatchControlMessage(sibling, EXM_RADIOGROUP, static_cast<WPARAM>(groupId_),
                                   reinterpret_cast<LPARAM>(static_cast<Control*>(this)));
        }
    }
    checked_ = true;
}

std::vector<RadioButton*> RadioButton::GroupMembers() const {
    std::vector<RadioButton*> members;
    Control* sibling = FirstOfList(*this);
    for (; sibling != nullptr; sibling = sibling->NextSibling()) {
        if (sibling->Kind() != kKindRadioButton || !sibling->Visible() || sibling->Disabled()) {
            continue;
        }
        auto* radio = static_cast<RadioButton*>(sibling);
        if (radio->groupId_ == groupId_) {
            members.push_back(radio);
        }
    }
    return members;
}

bool RadioButton::TabStop() const {
    if (checked_) {
        return true;
    }
    const std::vector<RadioButton*> members = GroupMembers();
    for (const RadioButton* member : members) {
        if (member->checked_) {
            return false;
        }
    }
    return !members.empty() && members.front() == this;
}

Control* RadioButton::GroupNeighbour(bool forward) const {
    const std::vector<RadioButton*> members = GroupMembers();
    const auto at = std::find(members.begin(), members.end(), this);
    if (members.size() < 2 || at == members.end()) {
        return nullptr;
    }
    const std::size_t index = static_cast<std::size_t>(at - members.begin());
    const std::size_t count = members.size();
    return members[(index + (forward ? 1 : count - 1)) % count];
}

void RadioButton::PaintState(int state, int) {
    ButtonBase::PaintState(state, 255);
}

LRESULT RadioButton::PreHandle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Kind(kKindRadioButton);
        if (!glyphs_) {
            glyphs_ = LoadGlyphs();
        }
        return kNotHandled;
    case WM_DESTROY:
        checked_ = false;
        glyphs_.reset();
        return kNotHandled;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return 1;
    case EXM_RADIOGROUP:
        if (checked_ && reinterpret_cast<Control*>(lParam) != this &&
            static_cast<int>(wParam) == groupId_) {
            checked_ = false;
            if (Visible()) {
                Redraw();
            }
        }
        return 0;
    case EXM_CLICK:
        Check();
        Redraw();
        PaintState(kButtonHot, 255);
        return 0;
    default:
        return kNotHandled;
    }
}

bool RadioButton::PaintBackground(Gdiplus::GpGraphics*, int) {
    return true;
}

bool RadioButton::PaintContent(Gdiplus::GpGraphics* graphics, int state, RectF& caption) {
    if (glyphs_ && *glyphs_) {
        const float cell = static_cast<float>(kRadioGlyphCell);
        float left =
            (checked_ ? 2 * cell : 0) + (state == kButtonHot || state == kButtonPressed ? cell : 0);
        RectF box = MakeRectF(4, 4, 20, Height() - 8);
        RectF dest = MakeRectF(std::round(box.X + (box.Width - cell) / 2),
                               std::round(box.Y + (box.Height - cell) / 2), cell, cell);
        RectF clip = VisibleClipBounds(graphics);
        ResetClip(graphics);
        DrawImagePart(graphics, glyphs_->get(), dest, MakeRectF(left, 0, cell, cell));
        SetClipRect(graphics, clip);
    }
    caption.X = 24;
    if (HasFocus()) {
        DrawBorder(graphics, GrowRect(caption, -1, -1, 2, 2), kBorderDashed);
    }
    return true;
}

} // namespace kodaro::ui
