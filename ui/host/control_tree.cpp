#include "ui/host/control_tree.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cwctype>

namespace kodaro::ui {

namespace {

Control* HitChildren(Control* last, float x, float y) {
    for (Control* control = last; control != nullptr; control = control->PreviousSibling()) {
        if (control->Visible() && !control->Disabled() && PointInRect(control->Rect(), x, y)) {
            Control* deeper = HitChildren(control->LastChild(), x, y);
            return deeper != nullptr ? deeper : control;
        }
    }
    return nullptr;
}

// Depth-first order of the tree, the order Tab walks.
Control* NextInTree(Control* control, Control* first) {
    if (control == nullptr) {
        return first;
    }
    if (control->FirstChild() != nullptr && control->Visible() && !control->Disabled()) {
        return control->FirstChild();
    }
    for (Control* up = control; up != nullptr; up = up->Parent()) {
        if (up->NextSibling() != nullptr) {
            return up->NextSibling();
        }
    }
    return first;
}

bool ShownAndEnabled(const Control* control) {
    for (const Control* up = control; up != nullptr; up = up->Parent()) {
        if (!up->Visible() || up->Disabled()) {
            return false;
        }
    }
    return true;
}

} // namespace

// --- links and ids -------------------------------------------------------------

TreeLinks& ControlTree::LinksOf(const Control& control) {
    return nodes_.at(&control)->links;
}

Control*& ControlTree::FirstOf(Control* parent) {
    return parent != nullptr ? LinksOf(*parent).firstChild : first_;
}

Control*& ControlTree::LastOf(Control* parent) {
    return parent != nullptr ? LinksOf(*parent).lastChild : last_;
}

const TreeLinks* ControlTree::Adopt(Control& control, Control* parent) {
    auto node = std::make_unique<Node>();
    node->id = control.Id();
    const TreeLinks* links = &node->links;
    nodes_[&control] = std::move(node);
    ids_[&control] = control.Id();
    controls_[control.Id()] = &control;
    Append(control, parent);
    return links;
}

void ControlTree::Append(Control& control, Control* parent) {
    TreeLinks& links = LinksOf(control);
    links.parent = parent;
    Control*& first = FirstOf(parent);
    Control*& last = LastOf(parent);
    links.previous = last;
    links.next = nullptr;
    if (last != nullptr) {
        LinksOf(*last).next = &control;
    }
    last = &control;
    if (first == nullptr) {
        first = &control;
    }
}

void ControlTree::Unlink(Control& control) {
    if (!Contains(&control)) {
        return;
    }
    TreeLinks& links = LinksOf(control);
    Control*& first = FirstOf(links.parent);
    Control*& last = LastOf(links.parent);
    if (links.previous != nullptr) {
        LinksOf(*links.previous).next = links.next;
    } else if (first == &control) {
        first = links.next;
    }
    if (links.next != nullptr) {
        LinksOf(*links.next).previous = links.previous;
    } else if (last == &control) {
        last = links.previous;
    }
    links.previous = nullptr;
    links.next = nullptr;
}

void ControlTree::Restack(Control& control, Control* newParent, bool front) {
    if (!Contains(&control) || (newParent != nullptr && !Contains(newParent))) {
        return;
    }
    Unlink(control);
    if (!front) {
        Append(control, newParent);
        return;
    }
    TreeLinks& links = LinksOf(control);
    links.parent = newParent;
    Control*& first = FirstOf(newParent);
    Control*& last = LastOf(newParent);
    links.previous = nullptr;
    links.next = first;
    if (first != nullptr) {
        LinksOf(*first).previous = &control;
    }
    first = &control;
    if (last == nullptr) {
        last = &control;
    }
}

void ControlTree::Forget(Control& control) {
    if (!Contains(&control)) {
        return;
    }
    DropFocus(control);
    std::erase_if(accessKeys_,
                  [&control](const AccessKey& entry) { return entry.control == &control; });
    if (&control == tipControl_) {
        tipControl_ = nullptr;
    }
    if (!control.Tooltip().empty()) {
        UpdateTooltip(control, TooltipMode::Remove);
    }
    Unlink(control);
    controls_.erase(ids_.at(&control));
    ids_.erase(&control);
    nodes_.erase(&control);
}

void ControlTree::DestroyAll() {
    while (first_ != nullptr) {
        first_->Destroy();
    }
    focus_ = keyboardFocus_ = nullptr;
    accessKeys_.clear();
}

Control* ControlTree::Lookup(ControlId id) const {
    const auto found = controls_.find(id);
    return found != controls_.end() ? found->second : nullptr;
}

HeldControl ControlTree::Hold(Control* control) const {
    const auto found = ids_.find(control);
    return found != ids_.end() ? HeldControl{control, found->second} : HeldControl{};
}

bool ControlTree::Alive(const HeldControl& held) const {
    return held.control != nullptr && Lookup(held.id) == held.control;
}

Control* ControlTree::HitTest(float x, float y) const {
    return HitChildren(last_, x, y);
}

// --- focus ---------------------------------------------------------------------

bool ControlTree::SetFocus(Control* control, bool keyboard) {
    if (!Contains(control) || control->Disabled() || !control->Visible() || !control->Focusable() ||
        control->Kind() == kKindCaptionButton) {
        return false;
    }
    if (focus_ == control) {
        return true;
    }
    const HeldControl target = Hold(control);
    const HeldControl old = Hold(ExchangeFocus(control));
    if (old.control != nullptr) {
        DispatchControlMessage(old.control, EXM_KILLFOCUS, 0, reinterpret_cast<LPARAM>(control));
    }
    // The old control's handler may have destroyed the new one.
    if (!Alive(target)) {
        return false;
    }
    if (keyboard) {
        keyboardFocus_ = control;
    }
    DispatchControlMessage(control, EXM_SETFOCUS, 0,
                           reinterpret_cast<LPARAM>(Alive(old) ? old.control : nullptr));
    return true;
}

Control* ControlTree::ExchangeFocus(Control* control) {
    Control* old = focus_;
    focus_ = control;
    keyboardFocus_ = nullptr;
    return old;
}

bool ControlTree::DropFocus(const Control& control) {
    if (keyboardFocus_ == &control) {
        keyboardFocus_ = nullptr;
    }
    if (focus_ != &control) {
        return false;
    }
    focus_ = nullptr;
    keyboardFocus_ = nullptr;
    return true;
}

void ControlTree::TabToNext() {
    Control* start = focus_;
    Control* candidate = start ? NextInTree(start, first_) : first_;
    while (candidate != nullptr && candidate != start) {
        if (ShownAndEnabled(candidate) && candidate->Focusable() && candidate->TabStop() &&
            candidate->Kind() != kKindCaptionButton) {
            SetFocus(candidate, true);
            return;
        }
        Control* next = NextInTree(candidate, first_);
        // Without a focus control the walk ends when it wraps to the start.
        if (start == nullptr && next == first_) {
            return;
        }
        candidate = next;
    }
}

// --- access keys -----------------------------------------------------------------

void ControlTree::RegisterAccessKey(Control* control, wchar_t key) {
    if (!Contains(control)) {
        return;
    }
    for (auto entry = accessKeys_.begin(); entry != accessKeys_.end(); ++entry) {
        if (entry->control == control) {
            if (key == 0) {
                accessKeys_.erase(entry);
            } else {
                entry->key = key;
            }
            return;
        }
    }
    if (key != 0) {
        accessKeys_.push_back({control, key});
    }
}

Control* ControlTree::AccessKeyTarget(WPARAM key) const {
    // Only letter and digit keys have a virtual-key code equal to their
    // character; others (F4 is 0x73, 's') must not match an access key.
    const bool letterOrDigit = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
    if (!letterOrDigit) {
        return nullptr;
    }
    const auto pressed = static_cast<wint_t>(key);
    for (const AccessKey& entry : accessKeys_) {
        if (static_cast<wint_t>(std::towupper(entry.key)) == pressed && entry.control->Visible() &&
            !entry.control->Disabled()) {
            return entry.control;
        }
    }
    return nullptr;
}

// --- tooltips --------------------------------------------------------------------

void ControlTree::CreateTooltipWindow(HWND owner) {
    owner_ = owner;
    tooltip_.reset(CreateWindowExW(0, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   0, 0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!tooltip_) {
        return;
    }
    SetWindowPos(tooltip_.get(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, 1024);
    for (Control* control = first_; control != nullptr; control = control->NextSibling()) {
        if (!control->Tooltip().empty()) {
            UpdateTooltip(*control, TooltipMode::Add);
        }
    }
}

void ControlTree::DestroyTooltipWindow() {
    tooltip_.reset();
}

void ControlTree::UpdateTooltip(const Control& control, TooltipMode mode) {
    if (!tooltip_) {
        return;
    }
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = owner_;
    info.uId = control.Id();
    // The tooltip window shows the first tool whose rectangle holds the mouse,
    // whatever lies on top or is hidden, so only the control under the mouse
    // gets its rectangle and every other tool stays empty.
    if (&control == tipControl_) {
        info.rect = EnclosingRect(control.Rect());
    }
    info.lpszText = const_cast<wchar_t*>(control.Tooltip().c_str());
    switch (mode) {
    case TooltipMode::Remove:
        SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        break;
    case TooltipMode::Add:
        SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        break;
    case TooltipMode::Rect:
        SendMessageW(tooltip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
        break;
    case TooltipMode::Text:
        SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        break;
    }
}

void ControlTree::TooltipFollowMouse(WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) {
        return;
    }
    const Control* under =
        HitTest(static_cast<float>(GET_X_LPARAM(lParam)), static_cast<float>(GET_Y_LPARAM(lParam)));
    while (under != nullptr && under->Tooltip().empty()) {
        under = under->Parent();
    }
    if (under == tipControl_) {
        return;
    }
    const Control* previous = tipControl_;
    tipControl_ = under;
    if (previous != nullptr) {
        UpdateTooltip(*previous, TooltipMode::Rect);
    }
    if (under != nullptr) {
        UpdateTooltip(*under, TooltipMode::Rect);
    }
    // The tooltip saw this move before the rectangles changed; show it again.
    MSG message{};
    message.hwnd = owner_;
    message.message = WM_MOUSEMOVE;
    message.wParam = wParam;
    message.lParam = lParam;
    message.time = static_cast<DWORD>(GetMessageTime());
    message.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(owner_, &message.pt);
    SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

} // namespace kodaro::ui
