#include "app/shell/content_kind.h"

namespace kodaro {

void SelectContentType(App& app, ContentType kind) {
    if (app.currentPage != kPageCreate || kind == app.currentContentType) {
        return;
    }
    // The preview keeps the old kind's symbol until the new kind's boxes
    // change.
    app.preview.dirty = false;
    app.currentContentType = kind;
    app.objects.mainWindow->RenderBackground({}, std::nullopt, ui::kPresentWhole);
}

} // namespace kodaro
