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

// The bare symbol of the inputs. A logo hides the middle of the symbol; a
// large enough version keeps it readable.
ModuleMatrix EncodePreviewSymbol(const PreviewInputs& inputs, std::wstring_view payload) {
    const int minimumVersion =
        DrawsLogo(inputs.style, ProcessStyleImages()) ? MinimumVersionUnderLogo(inputs.level) : 0;
    return EncodeSymbol(payload, inputs.level, minimumVersion);
}

CheckedPreview MakePreview(const PreviewInputs& inputs, bool check) {
    const std::wstring payload = ComposePayload(inputs.kind, inputs.fields);
    const ModuleMatrix matrix = EncodePreviewSymbol(inputs, payload);
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
    const std::wstring payload = ComposePayload(inputs.kind, inputs.fields);
    return MakeSymbolSvg(EncodePreviewSymbol(inputs, payload), inputs.style, payload);
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
