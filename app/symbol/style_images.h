#pragma once
// The three pictures of the beautify page (logo, foreground, background),
// shared by the user-interface thread, which reloads them, and the preview
// worker, which renders with them.

#include "ui/draw/image.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kodaro {

enum class StyleSlot { Logo, Foreground, Background };

// One lock guards all three slots: the renderer holds it while it reads the
// pictures, a reload or the release at window close while it swaps them, so a
// picture is never disposed under a render.
class StyleImages {
public:
    StyleImages() = default;
    StyleImages(const StyleImages&) = delete;
    StyleImages& operator=(const StyleImages&) = delete;

    // The slots seen under the lock, for as long as the view lives.
    class View {
    public:
        explicit View(StyleImages& images) : images_(images), lock_(images.mutex_) {}
        Gdiplus::GpImage* LogoImage() const { return images_.logo_.get(); }
        Gdiplus::GpImage* ForegroundImage() const { return images_.foreground_.get(); }
        Gdiplus::GpImage* BackgroundImage() const { return images_.background_.get(); }

    private:
        StyleImages& images_;
        std::lock_guard<std::mutex> lock_;
    };

    View Read() { return View(*this); }

    // Puts image into the slot; the picture it replaces is disposed after the
    // lock is let go.
    void Replace(StyleSlot slot, ui::MemoryImage image);
    // Empties all three slots (the main window does this when it closes).
    void ReleaseAll();

private:
    ui::MemoryImage& Slot(StyleSlot slot);

    std::mutex mutex_;
    ui::MemoryImage logo_;
    ui::MemoryImage foreground_;
    ui::MemoryImage background_;
};

// The program's own slots. Never destroyed: the pictures are GDI+ objects and
// must be released (ReleaseAll) while GDI+ still runs, not at process exit.
StyleImages& ProcessStyleImages();

// The logo a fresh window draws: "Resource\Logo.png" beside the program.
std::wstring DefaultLogoPath(std::wstring_view programDirectory);

// Loads the file at path into the slot: the logo at its own size, the
// foreground and background pictures stretched to side x side. A file that
// cannot be read or is no picture empties the slot.
void ReloadStyleImage(StyleSlot slot, std::wstring_view path, int side,
                      StyleImages& images = ProcessStyleImages());

// The picture in bytes stretched to width x height, as BMP file bytes; empty
// when the bytes are no picture or the size is not positive.
std::vector<std::uint8_t> ScaleImageBytes(std::span<const std::uint8_t> bytes, int width,
                                          int height);

} // namespace kodaro
