// The controls of one host window: their sibling links and ids, hit testing,
// the focus with its Tab order, the access keys and the tooltip tools.
#pragma once

#include "runtime/handles.h"
#include "ui/control/control.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace kodaro::ui {

// A control together with the id it had when it was taken: alive only while
// the tree still maps that id to that control, so a control destroyed by a
// handler (and any newer one built at its address) is told apart.
struct HeldControl {
    Control* control = nullptr;
    ControlId id = 0;
};

class ControlTree {
public:
    ControlTree() = default;
    ControlTree(const ControlTree&) = delete;
    ControlTree& operator=(const ControlTree&) = delete;

    // --- links and ids -------------------------------------------------------
    const TreeLinks* Adopt(Control& control, Control* parent);
    void Restack(Control& control, Control* newParent, bool front);
    void Unlink(Control& control);
    // Drops the control from the ids, the focus, the access keys and the
    // tooltip tools, and out of its list.
    void Forget(Control& control);
    // Destroys every control (at the window's end).
    void DestroyAll();

    Control* First() const { return first_; }
    Control* Last() const { return last_; }
    // Whether control is in this tree; the pointer is only compared.
    bool Contains(const Control* control) const { return ids_.contains(control); }
    Control* Lookup(ControlId id) const;
    HeldControl Hold(Control* control) const;
    bool Alive(const HeldControl& held) const;
    // Topmost visible, enabled control containing (x, y), deepest first.
    Control* HitTest(float x, float y) const;

    // --- focus ---------------------------------------------------------------
    Control* Focus() const { return focus_; }
    Control* KeyboardFocusMarker() const { return keyboardFocus_; }
    // Refused for a disabled, hidden, unfocusable or caption-button control.
    // Sends EXM_KILLFOCUS/EXM_SETFOCUS; raises no application events.
    bool SetFocus(Control* control, bool keyboard);
    // Makes control the focus without messages; returns the old focus.
    Control* ExchangeFocus(Control* control);
    // Clears the focus when control has it; true when it had.
    bool DropFocus(const Control& control);
    // Tab: the next visible, enabled, focusable control in depth-first order.
    void TabToNext();

    // --- access keys ---------------------------------------------------------
    // Adds (or updates) a control's access key; '\0' removes it.
    void RegisterAccessKey(Control* control, wchar_t key);
    // The first visible, enabled control whose access key is key (a letter
    // or digit key code), or null.
    Control* AccessKeyTarget(WPARAM key) const;

    // --- tooltips ------------------------------------------------------------
    void CreateTooltipWindow(HWND owner);
    void DestroyTooltipWindow();
    HWND TooltipWindow() const { return tooltip_.get(); }
    void UpdateTooltip(const Control& control, TooltipMode mode);
    // Points the tooltip at the control under the mouse (or its nearest
    // ancestor with a tooltip). Called for each mouse move in the owner.
    void TooltipFollowMouse(WPARAM wParam, LPARAM lParam);

private:
    struct Node {
        TreeLinks links;
        ControlId id = 0;
    };
    TreeLinks& LinksOf(const Control& control);
    void Append(Control& control, Control* parent);
    Control*& FirstOf(Control* parent);
    Control*& LastOf(Control* parent);

    Control* first_ = nullptr;
    Control* last_ = nullptr;
    std::unordered_map<const Control*, ControlId> ids_;
    std::unordered_map<ControlId, Control*> controls_;
    std::unordered_map<const Control*, std::unique_ptr<Node>> nodes_;
    Control* focus_ = nullptr;
    Control* keyboardFocus_ = nullptr;
    struct AccessKey {
        Control* control;
        wchar_t key;
    };
    std::vector<AccessKey> accessKeys_;
    HWND owner_ = nullptr;
    UniqueWindow tooltip_;
    // The one control whose tool has its real rectangle; see UpdateTooltip.
    const Control* tipControl_ = nullptr;
};

} // namespace kodaro::ui
