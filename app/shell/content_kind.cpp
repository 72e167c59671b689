#include "app/shell/content_kind.h"

#include "app/shell/create_page.h"

namespace kodaro {

void SelectContentType(App& app, ContentType kind) {
    const ContentType old = app.currentContentType;
    if (app.currentPage != kPageCreate ||
        !SwitchPreviewKind(app.preview, app.currentContentType, kind)) {
        return;
    }
    ShowContentKind(app, old, false);
    ShowContentKind(app, kind, true);
    app.objects.mainWindow->RenderBackground({}, std::nullopt, ui::PresentMode::Whole);
}

} // namespace kodaro
