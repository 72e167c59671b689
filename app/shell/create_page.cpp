#include "app/shell/create_page.h"

#include "app/shell/byte_count.h"
#include "app/shell/plain_file.h"
#include "app/shell/symbol_options.h"
#include "app/symbol/style_images.h"
#include "ui/controls/embedded_image.h"

#include <initializer_list>
#include <vector>

namespace kodaro {

namespace {

constexpr float kSiteWidth = 120;
constexpr float kSiteHeight = 24;

struct BoxPlace {
    float x, y, width, height;
};

ui::EditBox& CreateBox(App& app, ui::EditBox& box, BoxPlace place, bool multiLine,
                       std::wstring_view text = {}) {
    ui::EditBoxOptions options;
    options.multiLine = multiLine;
    if (multiLine) {
        options.scrollBars = ui::kEditVerticalBar;
    }
    options.visible = false;
    box.Create(*app.objects.mainWindow, place.x, place.y, place.width, place.height, text, options);
    box.OnChange([&app](ui::Control*, ui::EditBox* changed) { OnBoxChanged(app, changed); });
    return box;
}

void CreateCounter(App& app, ui::Label& counter) {
    ui::LabelOptions options;
    options.visible = false;
    counter.Create(*app.objects.mainWindow, 406, 305, 28, 20, L"0", options);
}

void CreateSiteButtons(App& app) {
    for (size_t i = 0; i < kCommonSites.size(); ++i) {
        // Two to a row, left then right; the ninth alone on the left.
        const float x = i % 2 == 0 ? 187 : 315;
        const float y = 175 + 27 * static_cast<float>(i / 2);
        ui::ButtonOptions hidden;
        hidden.visible = false;
        ui::TabButton& button = *app.objects.siteButtons[i];
        button.Create(*app.objects.mainWindow, x, y, kSiteWidth, kSiteHeight,
                      kCommonSites[i].displayName, hidden);
        button.SetImage(ui::EmbeddedBytes(kSiteIconFirst + static_cast<int>(i)), ui::kImageLeft);
    }
}

// The controls of a kind, in the order they were created.
std::vector<ui::Control*> KindControls(App& app, ContentType kind) {
    AppObjects& o = app.objects;
    switch (kind) {
    case ContentType::Text:
        return {&*o.textBox, &*o.textCounter};
    case ContentType::Card:
        return {&*o.cardNameBox,    &*o.cardEmailBox,   &*o.cardPhoneBox,
                &*o.cardFaxBox,     &*o.cardAddressBox, &*o.cardHomepageBox,
                &*o.cardCompanyBox, &*o.cardTitleBox,   &*o.cardNoteBox};
    case ContentType::WebAddress: {
        std::vector<ui::Control*> controls{&*o.webAddressBox};
        for (std::optional<ui::TabButton>& button : o.siteButtons) {
            controls.push_back(&*button);
        }
        return controls;
    }
    case ContentType::Dial:
        return {&*o.dialNumberBox};
    case ContentType::Message:
        return {&*o.messageNumberBox, &*o.messageTextBox, &*o.messageCounter};
    case ContentType::Wireless:
        return {&*o.wifiSsidBox, &*o.wifiPasswordBox, &*o.wifiEncryptionBox};
    }
    return {};
}

// A path box's picture: anything but a plain file (a path still being typed,
// a folder) empties the slot without reading.
void ReloadFromBox(App& app, StyleSlot slot, ui::EditBox& box) {
    const std::wstring path = box.Text();
    ReloadStyleImage(slot, IsPlainFile(path) ? path : std::wstring(), ChosenSide(app));
}

} // namespace

void CreateCreatePage(App& app) {
    AppObjects& o = app.objects;
    CreateBox(app, *o.textBox, {187, 150, 248, 148}, true);
    CreateCounter(app, *o.textCounter);
    CreateBox(app, *o.cardNameBox, {187, 147, 90, 22}, false);
    CreateBox(app, *o.cardEmailBox, {345, 147, 90, 22}, false);
    CreateBox(app, *o.cardPhoneBox, {187, 175, 90, 22}, false);
    CreateBox(app, *o.cardFaxBox, {345, 175, 90, 22}, false);
    CreateBox(app, *o.cardAddressBox, {187, 202, 248, 22}, false);
    CreateBox(app, *o.cardHomepageBox, {187, 230, 248, 22}, false, L"http://");
    CreateBox(app, *o.cardCompanyBox, {187, 258, 90, 22}, false);
    CreateBox(app, *o.cardTitleBox, {345, 258, 90, 22}, false);
    CreateBox(app, *o.cardNoteBox, {187, 286, 248, 42}, true);
    CreateBox(app, *o.webAddressBox, {187, 147, 248, 22}, false);
    CreateSiteButtons(app);
    CreateBox(app, *o.dialNumberBox, {187, 147, 248, 22}, false);
    CreateBox(app, *o.messageNumberBox, {187, 147, 248, 22}, false);
    CreateBox(app, *o.messageTextBox, {187, 178, 248, 120}, true);
    CreateCounter(app, *o.messageCounter);
    CreateBox(app, *o.wifiSsidBox, {187, 147, 248, 22}, false);
    CreateBox(app, *o.wifiPasswordBox, {187, 175, 248, 22}, false);
    CreateWifiEncryptionBox(app);
    ShowContentKind(app, app.currentContentType, true);
}

void ShowContentKind(App& app, ContentType kind, bool show) {
    for (ui::Control* control : KindControls(app, kind)) {
        control->Visible(show);
    }
}

void OnBoxChanged(App& app, ui::EditBox* box) {
    AppObjects& o = app.objects;
    if (box == &*o.textBox) {
        o.textCounter->Text(ByteCountCaption(box->Text()));
    } else if (box == &*o.messageTextBox) {
        o.messageCounter->Text(ByteCountCaption(box->Text()));
    } else if (box == &*o.logoPathBox) {
        ReloadFromBox(app, StyleSlot::Logo, *box);
    } else if (box == &*o.foregroundPathBox) {
        ReloadFromBox(app, StyleSlot::Foreground, *box);
    } else if (box == &*o.backgroundPathBox) {
        ReloadFromBox(app, StyleSlot::Background, *box);
    }
    app.preview.dirty = true;
}

bool OnSiteButtonClick(App& app, ui::Control* control) {
    for (size_t i = 0; i < kCommonSites.size(); ++i) {
        if (control == &*app.objects.siteButtons[i]) {
            // The box's change notification sets the preview's flag as well;
            // set here too, the user asked for this address's symbol whatever
            // the box reports.
            app.objects.webAddressBox->Text(SiteAddress(kCommonSites[i]), true);
            app.preview.dirty = true;
            return true;
        }
    }
    return false;
}

void ReadContentFields(App& app, ContentFields& fields) {
    AppObjects& o = app.objects;
    fields.text = o.textBox->Text();
    fields.cardName = o.cardNameBox->Text();
    fields.cardEmail = o.cardEmailBox->Text();
    fields.cardPhone = o.cardPhoneBox->Text();
    fields.cardFax = o.cardFaxBox->Text();
    fields.cardAddress = o.cardAddressBox->Text();
    fields.cardHomepage = o.cardHomepageBox->Text();
    fields.cardCompany = o.cardCompanyBox->Text();
    fields.cardTitle = o.cardTitleBox->Text();
    fields.cardNote = o.cardNoteBox->Text();
    fields.webAddress = o.webAddressBox->Text();
    fields.dialNumber = o.dialNumberBox->Text();
    fields.messageNumber = o.messageNumberBox->Text();
    fields.messageText = o.messageTextBox->Text();
    fields.wifiSsid = o.wifiSsidBox->Text();
    fields.wifiPassword = o.wifiPasswordBox->Text();
    fields.wifiEncryption = o.wifiEncryptionBox->CurrentIndex();
}

} // namespace kodaro
