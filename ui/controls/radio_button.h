// An option button: a drawn glyph left of the caption, and exclusivity among
// the radios of one group number that share a parent (or, at top level, a
// window). Radios never show a pressed look and never cross-fade.
#pragma once

#include "ui/controls/button_base.h"
#include "ui/draw/image.h"

#include <memory>
#include <vector>

namespace kodaro::ui {

// Width and height of one glyph cell of the strip.
inline constexpr int kRadioGlyphCell = 17;

class RadioButton : public ButtonBase {
public:
    bool Checked() const { return checked_; }
    // Checking makes the others of the group unchecked first, unless
    // exclusive is false; unchecking only clears the flag. Repaints.
    void Checked(bool value, bool exclusive = true);
    int GroupId() const { return groupId_; }
    void GroupId(int value) { groupId_ = value; }
    // Unless already checked: unchecks every sibling radio of the same group
    // number, then marks this one checked (no repaint).
    void Check();

    // Always drawn at once (no cross-fade).
    void PaintState(int state, int start) override;

    // One Tab stop a group: the checked radio, or the group's first while
    // none of its shown, enabled radios is checked.
    bool TabStop() const override;
    // The next (or previous) shown, enabled radio of the group, wrapping
    // around; null when there is no other.
    Control* GroupNeighbour(bool forward) const override;

    // The shared glyph strip (68 x 17, four cells), loaded from the program's
    // resources; null when it cannot be loaded.
    static std::shared_ptr<MemoryImage> LoadGlyphs();

protected:
    bool PaintBackground(Gdiplus::GpGraphics* graphics, int state) override;
    bool PaintContent(Gdiplus::GpGraphics* graphics, int state, RectF& caption) override;
    LRESULT PreHandle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The shown, enabled radios of this one's group and parent, in order.
    std::vector<RadioButton*> GroupMembers() const;

    bool checked_ = false;
    int groupId_ = 0;
    // Keeps the shared strip alive while this radio exists on a window.
    std::shared_ptr<MemoryImage> glyphs_;
};

} // namespace kodaro::ui
