#include "app/shell/symbol_options.h"

namespace kodaro {

namespace {

constexpr int kEcLevelOpacity = 180;
constexpr int kSizeOpacity = 190;

void Subscribe(App& app, ui::ComboBox& box) {
    box.OnSelect([&app](ui::ComboBox&, int) { OnDropDownChanged(app); });
}

} // namespace

void CreateEcLevelBox(App& app) {
    ui::ComboBox& box = *app.objects.ecLevelBox;
    box.Create(*app.objects.infoGroup, 518, 352, 110, 24);
    for (const wchar_t* level : {L"最低 - 7%", L"低 - 15%", L"中等 - 25%", L"高 - 30%"}) {
        box.AddItem(level);
    }
    box.CurrentIndex(3);
    box.Opacity(kEcLevelOpacity);
    Subscribe(app, box);
}

void CreateSizeBox(App& app) {
    ui::ComboBox& box = *app.objects.sizeBox;
    box.Create(*app.objects.mainWindow, 510, 436, 60, 26);
    for (const wchar_t* side : {L"128", L"256", L"512", L"768"}) {
        box.AddItem(side);
    }
    box.CurrentIndex(2);
    box.Opacity(kSizeOpacity);
    Subscribe(app, box);
}

void OnDropDownChanged(App& app) {
    app.preview.dirty = true;
}

int ChosenEcLevel(const App& app) {
    return app.objects.ecLevelBox->CurrentIndex() - 1;
}

int LeadingNumber(std::wstring_view text) {
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9' || value > 100000000) {
            break;
        }
        value = value * 10 + (c - L'0');
    }
    return value;
}

int ChosenSide(const App& app) {
    return LeadingNumber(app.objects.sizeBox->Text());
}

} // namespace kodaro
