// Every process-wide object and value of the main program, in one object that
// the program's entry owns. The objects are made in declaration order and,
// as the rest of the program expects, destroyed in that same order.
#pragma once

#include "app/content/content_payload.h"
#include "app/shell/preview_worker.h"
#include "app/shell/scan_mark.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/edit_box.h"
#include "ui/controls/image_list.h"
#include "ui/controls/label.h"
#include "ui/controls/list_view.h"
#include "ui/controls/panel.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/push_button.h"
#include "ui/controls/radio_button.h"
#include "ui/controls/tab_button.h"
#include "ui/controls/web_browser_host.h"
#include "ui/host/host_window.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kodaro {

template <typename T> void EmplaceSlot(std::optional<T>& slot) {
    slot.emplace();
}
template <typename T, size_t N> void EmplaceSlot(std::array<std::optional<T>, N>& slots) {
    for (std::optional<T>& slot : slots) {
        slot.emplace();
    }
}
template <typename T> void ResetSlot(std::optional<T>& slot) {
    slot.reset();
}
template <typename T, size_t N> void ResetSlot(std::array<std::optional<T>, N>& slots) {
    for (std::optional<T>& slot : slots) {
        slot.reset();
    }
}

// Makes each slot (or row of slots) in argument order; resets them in the
// same order.
template <typename... T> void EmplaceInOrder(T&... slots) {
    (EmplaceSlot(slots), ...);
}
template <typename... T> void ResetInOrder(T&... slots) {
    (ResetSlot(slots), ...);
}

// The framework objects: the hidden browser, the main window and one object
// per control of the main window, in the order the pages builder creates them.
struct AppObjects {
    AppObjects();
    ~AppObjects();
    AppObjects(const AppObjects&) = delete;
    AppObjects& operator=(const AppObjects&) = delete;

    std::optional<ui::WebBrowserHost> statisticsBrowser;
    std::optional<ui::HostWindow> mainWindow;
    // Frame and page selection.
    std::optional<ui::TabButton> createTab;
    std::optional<ui::TabButton> decodeTab;
    std::optional<ui::TabButton> beautifyTab;
    std::optional<ui::TabButton> aboutTab;
    std::optional<ui::ImageList> pageImages;
    std::optional<ui::ListView> pageList;
    // Create page, kind by kind.
    std::optional<ui::EditBox> textBox;
    std::optional<ui::Label> textCounter;
    std::optional<ui::EditBox> cardNameBox;
    std::optional<ui::EditBox> cardEmailBox;
    std::optional<ui::EditBox> cardPhoneBox;
    std::optional<ui::EditBox> cardFaxBox;
    std::optional<ui::EditBox> cardAddressBox;
    std::optional<ui::EditBox> cardHomepageBox;
    std::optional<ui::EditBox> cardCompanyBox;
    std::optional<ui::EditBox> cardTitleBox;
    std::optional<ui::EditBox> cardNoteBox;
    std::optional<ui::EditBox> webAddressBox;
    std::array<std::optional<ui::TabButton>, 9> siteButtons;
    std::optional<ui::EditBox> dialNumberBox;
    std::optional<ui::EditBox> messageNumberBox;
    std::optional<ui::EditBox> messageTextBox;
    std::optional<ui::Label> messageCounter;
    std::optional<ui::EditBox> wifiSsidBox;
    std::optional<ui::EditBox> wifiPasswordBox;
    std::optional<ui::ComboBox> wifiEncryptionBox;
    // Decode page.
    std::optional<ui::RadioButton> decodeSourceLocal;
    std::optional<ui::RadioButton> decodeSourceWeb;
    std::optional<ui::RadioButton> decodeSourcePreview;
    std::optional<ui::EditBox> decodePathBox;
    std::optional<ui::EditBox> decodeResultBox;
    std::optional<ui::PushButton> decodeBrowseButton;
    // Beautify page.
    std::optional<ui::EditBox> logoPathBox;
    std::optional<ui::PushButton> logoBrowseButton;
    std::optional<ui::RadioButton> logoBorderRectangle;
    std::optional<ui::RadioButton> logoBorderRounded;
    std::optional<ui::RadioButton> logoBorderNone;
    std::optional<ui::RadioButton> foregroundColorRadio;
    std::optional<ui::RadioButton> foregroundPictureRadio;
    std::optional<ui::EditBox> foregroundPathBox;
    std::optional<ui::PushButton> foregroundBrowseButton;
    std::optional<ui::Label> foregroundColorSwatch;
    std::optional<ui::RadioButton> backgroundColorRadio;
    std::optional<ui::RadioButton> backgroundPictureRadio;
    std::optional<ui::Label> backgroundColorSwatch;
    std::optional<ui::EditBox> backgroundPathBox;
    std::optional<ui::PushButton> backgroundBrowseButton;
    // Preview area and bottom bar.
    std::optional<ui::PictureBox> previewPicture;
    std::optional<ui::Panel> previewCaption;
    std::optional<ui::Panel> previewToolbar;
    std::optional<ui::TabButton> createIcon;
    std::optional<ui::TabButton> decodeIcon;
    std::optional<ui::TabButton> beautifyIcon;
    std::optional<ui::TabButton> copyIcon;
    std::optional<ui::TabButton> saveIcon;
    std::optional<ui::Panel> infoGroup;
    std::optional<ui::Label> ecLevelLabel;
    std::optional<ui::ComboBox> ecLevelBox;
    std::optional<ui::PictureBox> ecHelpIcon;
    std::optional<ui::ComboBox> sizeBox;
    std::optional<ui::PushButton> saveButton;
    std::optional<ui::PushButton> decodeButton;
    // Beside the preview, under the info group.
    std::optional<ScanMark> scanMark;
};

// Pages of the main window.
enum Page : int {
    kPageNone = 0,
    kPageCreate = 1,
    kPageDecode = 2,
    kPageBeautify = 3,
    kPageAbout = 4,
};

// What the preview shows: the placeholder artwork until anything else, a
// symbol rendered from the pages, or a picture brought in on the decode page.
enum class PreviewContent { Placeholder, Symbol, Picture };

struct App {
    AppObjects objects;

    // Plain values; everything but the preview flags belongs to the
    // user-interface thread.
    HWND mainWindowHandle = nullptr;
    // Outlives the App: the worker is never joined and may still look at the
    // flags while the process ends.
    PreviewFlags& preview = ProcessPreviewFlags();
    int currentPage = kPageNone;
    ContentType currentContentType{};
    ui::Control* selectedTab = nullptr;
    // What the preview shows; save and copy never hand out the placeholder.
    PreviewContent previewContent = PreviewContent::Placeholder;
    // The program's folder; resource paths are relative to it.
    std::wstring directory;
};

} // namespace kodaro
