#include "app/shell/content_kind.h"

#include "app/shell/create_page.h"

namespace kodaro {

void SelectContentType(App& app, ContentType kind) {
    if (app.currentPage != kPageCreate || kind == app.currentContentType) {
        return;
    }
    // The preview keeps the old kind's symbol until the new kind's boxes
    // change.
    app.preview.dirty = false;
    ShowContentKind(app, app.currentContentType, false);
    app.currentContentType = kind;
    ShowContentKind(app, kind, true);
    app.objects.mainWindow->RenderBackground({}, std::nullopt, ui::PresentMode::Whole);
}

} // namespace kodaro
