#include "app/shell/preview_regeneration.h"

#include "app/decode/scan_check.h"
#include "app/symbol/image_export.h"
#include "app/symbol/svg_export.h"
#include "app/symbol/symbol_renderer.h"

#include <mutex>

namespace kodaro {

namespace {

// Held while the worker encodes, renders and checks (GDI+ work); never while
// it waits on the user-interface thread.
std::mutex& RenderGate() {
    static std::mutex* const gate = new std::mutex;
    return *gate;
}

bool regenerationEnded = false;

// The payload of the inputs and its symbol, as the preview's picture and
// its SVG drawing both use them.
struct EncodedPreview {
    std::wstring payload;
    ModuleMatrix matrix;
};
EncodedPreview EncodePreview(const PreviewInputs& inputs) {
    EncodedPreview encoded;
    encoded.payload = ComposePayload(inputs.kind, inputs.fields);
    encoded.matrix = EncodeSymbol(encoded.payload, inputs.level);
    return encoded;
}

CheckedPreview MakePreview(const PreviewInputs& inputs, bool check) {
    const auto [payload, matrix] = EncodePreview(inputs);
    const RenderedSymbol rendered =
        RenderStyledSymbol(matrix, inputs.side, inputs.side, inputs.style, ProcessStyleImages());
    CheckedPreview preview;
    if (!rendered.bitmap) {
        return preview;
    }
    preview.picture = ImageToBmpBytes(rendered.bitmap.get());
    if (check) {
        preview.verdict = CheckRenderedSymbol(matrix, rendered, EncodedText(payload), inputs.level);
    }
    return preview;
}

} // namespace

std::vector<std::uint8_t> MakePreviewPicture(const PreviewInputs& inputs) {
    return MakePreview(inputs, false).picture;
}

CheckedPreview MakeCheckedPreview(const PreviewInputs& inputs) {
    return MakePreview(inputs, true);
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
    const EncodedPreview encoded = EncodePreview(inputs);
    return MakeSymbolSvg(encoded.matrix, inputs.style, encoded.payload);
}

void RegeneratePreview(HWND mainWindow) {
    PreviewInputs inputs;
    SendMessageW(mainWindow, kReadPreviewInputs, 0, reinterpret_cast<LPARAM>(&inputs));
    if (!inputs.read) {
        return;
    }
    CheckedPreview preview;
    {
        std::lock_guard lock(RenderGate());
        if (regenerationEnded) {
            return;
        }
        preview = MakeCheckedPreview(inputs);
    }
    SendMessageW(mainWindow, kShowPreviewPicture, 0, reinterpret_cast<LPARAM>(&preview));
}

void EndPreviewRegeneration() {
    std::lock_guard lock(RenderGate());
    regenerationEnded = true;
}

} // namespace kodaro
