#include "app/shell/app.h"

namespace kodaro {

#define KODARO_APP_OBJECTS                                                                         \
    statisticsBrowser, mainWindow, createTab, decodeTab, beautifyTab, aboutTab, pageImages,        \
        pageList, decodeSourceLocal, decodeSourceWeb, decodeSourcePreview, decodePathBox,          \
        decodeResultBox, decodeBrowseButton, logoBrowseButton, logoBorderRectangle,                \
        logoBorderRounded, logoBorderNone, foregroundColorRadio, foregroundPictureRadio,           \
        foregroundBrowseButton, foregroundColorSwatch, backgroundColorRadio,                       \
        backgroundPictureRadio, backgroundColorSwatch, backgroundBrowseButton, previewPicture,     \
        previewCaption, previewToolbar, createIcon, decodeIcon, beautifyIcon, copyIcon, saveIcon,  \
        infoGroup, ecLevelLabel, ecLevelBox, ecHelpIcon, sizeBox, saveButton, decodeButton

AppObjects::AppObjects() {
    EmplaceInOrder(KODARO_APP_OBJECTS);
}

AppObjects::~AppObjects() {
    ResetInOrder(KODARO_APP_OBJECTS);
}

#undef KODARO_APP_OBJECTS

} // namespace kodaro
