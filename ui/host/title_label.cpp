#include "ui/host/title_label.h"

#include "ui/draw/defaults.h"
#include "ui/draw/text.h"
#include "ui/host/host_window.h"

namespace kodaro::ui {

TitleLabel::~TitleLabel() {
    Destroy();
}

bool TitleLabel::Create(HostWindow& host, const RectF& rect, std::wstring text) {
    text_ = std::move(text);
    return CreateBase(host, rect, kKindLabel, true, false);
}

void TitleLabel::Text(std::wstring text) {
    if (text == text_) {
        return;
    }
    text_ = std::move(text);
    Redraw();
}

void TitleLabel::Paint(Gdiplus::GpGraphics* graphics, int width, int height) {
    TextFormat format(Gdiplus::StringFormatFlagsNoWrap);
    format.LineAlign(Gdiplus::StringAlignmentCenter);
    format.Trimming(Gdiplus::StringTrimmingEllipsisCharacter);
    DrawTextEffect(graphics, MakeRectF(0, 0, static_cast<float>(width), static_cast<float>(height)),
                   text_, DefaultFont(), ToArgb(0xFFFFFF, 250), format.get(), kTextEffectGlow);
}

} // namespace kodaro::ui
