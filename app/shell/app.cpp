#include "app/shell/app.h"

namespace kodaro {

#define KODARO_APP_OBJECTS                                                                         \
    statisticsBrowser, mainWindow, createTab, decodeTab, beautifyTab, aboutTab, previewPicture,    \
        previewCaption, previewToolbar, createIcon, decodeIcon, beautifyIcon, copyIcon, saveIcon,  \
        infoGroup, ecHelpIcon, saveButton, decodeButton

AppObjects::AppObjects() {
    EmplaceInOrder(KODARO_APP_OBJECTS);
}

AppObjects::~AppObjects() {
    ResetInOrder(KODARO_APP_OBJECTS);
}

#undef KODARO_APP_OBJECTS

} // namespace kodaro
