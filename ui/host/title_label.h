// The label that shows the window text in the caption (frame style 2).
#pragma once

#include "ui/control/control.h"

#include <string>

namespace kodaro::ui {

class TitleLabel : public Control {
public:
    ~TitleLabel() override;
    bool Create(HostWindow& host, const RectF& rect, std::wstring text);
    const std::wstring& Text() const { return text_; }
    void Text(std::wstring text);

protected:
    void Paint(Gdiplus::GpGraphics* graphics, int width, int height) override;

private:
    std::wstring text_;
};

} // namespace kodaro::ui
