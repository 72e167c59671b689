#include "ui/controls/picture_box.h"

#include "ui/draw/shapes.h"
#include "ui/host/host_window.h"

#include <algorithm>
#include <cstring>

namespace kodaro::ui {
namespace {

// The time dimension of multi-frame images (animated GIF).
constexpr GUID kFrameDimensionTime = {
    0x6AEDBD6D, 0x3FB5, 0x418A, {0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72}};

constexpr PROPID kPropertyFrameDelay = 0x5100;
constexpr WORD kPropertyTypeLong = 4;
constexpr WORD kPropertyTypeSLong = 9;

// Control message that carries a picture from another thread: lParam points
// at a std::span<const std::uint8_t> that lives until Send returns.
constexpr UINT kSetPictureMessage = WM_USER + 0x100;

std::vector<std::uint32_t> ReadDelays(Gdiplus::GpImage* image) {
    UINT size = 0;
    if (gdip::GdipGetPropertyItemSize(image, kPropertyFrameDelay, &size) != Gdiplus::Ok ||
        size < sizeof(Gdiplus::PropertyItem)) {
        return {};
    }
    // PropertyItem is followed by its value in the same block; keep the block
    // aligned for the item.
    std::vector<std::uint64_t> block((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(block.data());
    if (gdip::GdipGetPropertyItem(image, kPropertyFrameDelay, size, item) != Gdiplus::Ok) {
        return {};
    }
    bool usable =
        (item->type == kPropertyTypeLong && item->length > 0) || item->type == kPropertyTypeSLong;
    if (!usable || item->value == nullptr) {
        return {};
    }
    // Never read past what GDI+ handed over.
    const char* end = reinterpret_cast<const char*>(block.data()) + size;
    size_t available = static_cast<size_t>(end - static_cast<const char*>(item->value));
    size_t count = std::min<size_t>(item->length, available) / 4;
    std::vector<std::uint32_t> delays(count);
    if (count > 0) {
        std::memcpy(delays.data(), item->value, count * 4);
    }
    return delays;
}

} // namespace

FrameInfo ReadFrameInfo(Gdiplus::GpImage* image, bool fixZeroDelays) {
    FrameInfo info;
    if (image == nullptr) {
        return info;
    }
    UINT count = 0;
    if (gdip::GdipImageGetFrameCount(image, &kFrameDimensionTime, &count) == Gdiplus::Ok) {
        info.count = static_cast<int>(count);
    }
    info.delays = ReadDelays(image);
    // Every frame gets a delay, so playback never reads past the list.
    if (info.delays.size() < static_cast<size_t>(info.count)) {
        info.delays.resize(static_cast<size_t>(info.count), 0);
    }
    if (fixZeroDelays) {
        std::replace(info.delays.begin(), info.delays.end(), 0u, 10u);
    }
    return info;
}

PictureBox::~PictureBox() {
    StopTimer();
}

bool PictureBox::Create(ControlParent parent, float x, float y, float width, float height,
                        std::span<const std::uint8_t> image, const PictureOptions& options) {
    if (parent.Host() == nullptr) {
        return false;
    }
    // A control created before is destroyed first, so that its old state is
    // cleared before the new one is stored.
    Destroy();
    StopTimer();
    animate_ = options.animate;
    backColor_ = options.backColor;
    fixZeroDelays_ = options.fixZeroDelays;
    borderStyle_ = options.borderStyle;
    drawMode_ = options.drawMode;
    Picture(image, false);
    return parent.CreateIn(*this, MakeRectF(x, y, width, height), kKindPictureBox, options.visible,
                           true);
}

void PictureBox::Animate(bool value) {
    animate_ = value;
    currentFrame_ = 0;
    if (!value) {
        StopTimer();
    }
    Redraw();
}

void PictureBox::Picture(std::span<const std::uint8_t> bytes, bool repaint) {
    StopTimer();
    image_.reset();
    bytes_.assign(bytes.begin(), bytes.end());
    image_ = LoadImageFromBytes(bytes_);
    frames_ = ReadFrameInfo(image_.get(), fixZeroDelays_);
    currentFrame_ = 0;
    if (repaint) {
        Redraw();
    }
}

void PictureBox::PictureFromAnyThread(std::span<const std::uint8_t> bytes) {
    if (!Created()) {
        Picture(bytes);
        return;
    }
    Send(kSetPictureMessage, 0, reinterpret_cast<LPARAM>(&bytes));
}

void PictureBox::BackColor(Argb value) {
    backColor_ = value;
    Redraw();
}

void PictureBox::BorderStyle(int value) {
    borderStyle_ = value;
    Redraw();
}

void PictureBox::DrawMode(int value) {
    drawMode_ = value;
    Redraw();
}

void PictureBox::StopTimer() {
    if (timerRunning_ && Window() != nullptr) {
        KillTimer(Window(), TimerId());
    }
    timerRunning_ = false;
}

void PictureBox::StartTimer(UINT milliseconds) {
    if (Window() == nullptr) {
        return;
    }
    // A delay of 0 runs at the system's shortest timer period.
    timerRunning_ = SetTimer(Window(), TimerId(), std::max<UINT>(milliseconds, USER_TIMER_MINIMUM),
                             nullptr) != 0;
}

LRESULT PictureBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
    case EXM_SHOWN:
    case EXM_SETFOCUS:
    case EXM_KILLFOCUS:
        PaintFrame();
        return 0;
    case WM_TIMER:
        if (wParam != TimerId()) {
            return kNotHandled;
        }
        if (animate_ && frames_.count > 0) {
            PaintFrame();
        } else {
            StopTimer();
        }
        return 0;
    case WM_DESTROY:
        StopTimer();
        currentFrame_ = 0;
        frames_ = {};
        animate_ = false;
        image_.reset();
        bytes_.clear();
        return 0;
    case kSetPictureMessage:
        Picture(*reinterpret_cast<const std::span<const std::uint8_t>*>(lParam));
        return 0;
    default:
        return kNotHandled;
    }
}

void PictureBox::PaintFrame() {
    if (Disabled()) {
        // A disabled picture keeps time with its animation but draws nothing.
        ++currentFrame_;
        return;
    }
    if (currentFrame_ >= frames_.count || !animate_) {
        currentFrame_ = 0;
    }
    Gdiplus::GpGraphics* graphics = Graphics();
    if (graphics != nullptr) {
        Surface().Clear();
        Gdiplus::GpImage* image = image_.get();
        if (image != nullptr && frames_.count > 0) {
            gdip::GdipImageSelectActiveFrame(image, &kFrameDimensionTime,
                                             static_cast<UINT>(currentFrame_));
        }
        const RectF area = MakeRectF(0, 0, Width(), Height());
        if (backColor_ != 0) {
            FillRectangle(graphics, area, backColor_);
        }
        if (image != nullptr) {
            if (drawMode_ == kPictureCentred) {
                DrawImageCentred(graphics, image, area, true);
            } else {
                DrawImageRect(graphics, image, area);
            }
        }
        if (borderStyle_ != 0) {
            DrawBorder(graphics, area, borderStyle_);
        }
        if (HasFocus()) {
            DrawBorder(graphics, area, kBorderDashed);
        }
        Invalidate();
    }
    if (frames_.count == 0) {
        ++currentFrame_;
        return;
    }
    StopTimer();
    ++currentFrame_;
    if (currentFrame_ >= frames_.count || !animate_) {
        currentFrame_ = 0;
    }
    // Only a playing multi-frame image needs the timer; a still one never
    // starts it.
    if (animate_ && frames_.count > 1) {
        StartTimer(frames_.delays[static_cast<size_t>(currentFrame_)] * 10);
    }
}

} // namespace kodaro::ui
