#include "app/shell/preview_regeneration.h"

#include "app/symbol/svg_export.h"
#include "app/symbol/symbol_renderer.h"

#include <mutex>

namespace kodaro {

namespace {

// Held while the worker encodes and renders (GDI+ work); never while it
// waits on the user-interface thread.
std::mutex& RenderGate() {
    static std::mutex* const gate = new std::mutex;
    return *gate;
}

bool regenerationEnded = false;

} // namespace

std::vector<std::uint8_t> MakePreviewPicture(const PreviewInputs& inputs) {
    const std::wstring payload = ComposePayload(inputs.kind, inputs.fields);
    const ModuleMatrix matrix = EncodeSymbol(payload, inputs.level);
    return RenderSymbol(matrix, inputs.side, inputs.side, inputs.style);
}

std::optional<std::vector<std::uint8_t>> RenderPreviewNow(const PreviewInputs& inputs) {
    std::lock_guard lock(RenderGate());
    if (regenerationEnded) {
        return std::nullopt;
    }
    return MakePreviewPicture(inputs);
}

std::optional<std::string> DrawPreviewSvgNow(const PreviewInputs& inputs) {
    std::lock_guard lock(RenderGate());
    if (regenerationEnded) {
        return std::nullopt;
    }
    const std::wstring payload = ComposePayload(inputs.kind, inputs.fields);
    return MakeSymbolSvg(EncodeSymbol(payload, inputs.level), inputs.style, payload);
}

void RegeneratePreview(HWND mainWindow) {
    PreviewInputs inputs;
    SendMessageW(mainWindow, kReadPreviewInputs, 0, reinterpret_cast<LPARAM>(&inputs));
    if (!inputs.read) {
        return;
    }
    std::optional<std::vector<std::uint8_t>> picture = RenderPreviewNow(inputs);
    if (!picture) {
        return;
    }
    SendMessageW(mainWindow, kShowPreviewPicture, 0, reinterpret_cast<LPARAM>(&*picture));
}

void EndPreviewRegeneration() {
    std::lock_guard lock(RenderGate());
    regenerationEnded = true;
}

} // namespace kodaro
