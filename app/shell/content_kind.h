// Switching the create page between the content kinds.
#pragma once

#include "app/shell/app.h"

namespace kodaro {

// Makes kind current on the create page: a regeneration still pending for the
// old kind is dropped and the window is redrawn, so the painter shows the new
// kind's labels and help text. Nothing happens on another page or for the
// kind already current.
void SelectContentType(App& app, ContentType kind);

} // namespace kodaro
