// The scan check's mark beside the preview: a green tick when the shown
// symbol reads back as entered, a red cross with the reason when it does not.
#pragma once

#include "app/decode/scan_verdict.h"
#include "ui/control/control.h"
#include "ui/controls/control_parent.h"

#include <optional>

namespace kodaro {

inline constexpr ui::Argb kScanMarkGreen = 0xFF2E9E44;
inline constexpr ui::Argb kScanMarkRed = 0xFFD93025;

class ScanMark : public ui::Control {
public:
    // Creates the mark (hidden until it has a verdict; not focusable).
    bool Create(ui::ControlParent parent, float x, float y, float width, float height);

    // Shows the verdict on the symbol now in the preview; nothing hides the
    // mark (a symbol that could not be checked, or a picture that is no
    // generated symbol).
    void Verdict(const std::optional<ScanVerdict>& verdict);
    const std::optional<ScanVerdict>& Verdict() const { return verdict_; }

protected:
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

private:
    std::optional<ScanVerdict> verdict_;
};

} // namespace kodaro
