#include "app/shell/app.h"

namespace kodaro {

#define KODARO_APP_OBJECTS                                                                         \
    statisticsBrowser, mainWindow, createTab, decodeTab, beautifyTab, aboutTab, pageImages,        \
        pageList, textBox, textCounter, cardNameBox, cardEmailBox, cardPhoneBox, cardFaxBox,       \
        cardAddressBox, cardHomepageBox, cardCompanyBox, cardTitleBox, cardNoteBox, webAddressBox, \
        siteButtons, dialNumberBox, messageNumberBox, messageTextBox, messageCounter, wifiSsidBox, \
        wifiPasswordBox, wifiEncryptionBox, decodeSourceLocal, decodeSourceWeb,                    \
        decodeSourcePreview, decodePathBox, decodeResultBox, decodeBrowseButton, logoPathBox,      \
        logoBrowseButton, logoBorderRectangle, logoBorderRounded, logoBorderNone,                  \
        foregroundColorRadio, foregroundPictureRadio, foregroundPathBox, foregroundBrowseButton,   \
        foregroundColorSwatch, backgroundColorRadio, backgroundPictureRadio,                       \
        backgroundColorSwatch, backgroundPathBox, backgroundBrowseButton, previewPicture,          \
        previewCaption, previewToolbar, createIcon, decodeIcon, beautifyIcon, copyIcon, saveIcon,  \
        infoGroup, ecLevelLabel, ecLevelBox, ecHelpIcon, sizeBox, saveButton, decodeButton,        \
        scanMark

AppObjects::AppObjects() {
    EmplaceInOrder(KODARO_APP_OBJECTS);
}

AppObjects::~AppObjects() {
    ResetInOrder(KODARO_APP_OBJECTS);
}

#undef KODARO_APP_OBJECTS

} // namespace kodaro
