#include "app/shell/symbol_options.h"

#include <initializer_list>

namespace kodaro {

namespace {

constexpr int kEcLevelOpacity = 180;
constexpr int kSizeOpacity = 190;

// Fills a drop-down, makes item `current` its choice and lets a new choice
// regenerate the preview.
void FillChoices(App& app, ui::ComboBox& box, std::initializer_list<const wchar_t*> items,
                 int current, int opacity) {
    for (const wchar_t* item : items) {
        box.AddItem(item);
    }
    box.CurrentIndex(current);
    box.Opacity(opacity);
    box.OnSelect([&app](ui::ComboBox&, int) { OnDropDownChanged(app); });
}

} // namespace

void CreateEcLevelBox(App& app) {
    ui::ComboBox& box = *app.objects.ecLevelBox;
    box.Create(*app.objects.infoGroup, 518, 352, 110, 24);
    FillChoices(app, box, {L"最低 - 7%", L"低 - 15%", L"中等 - 25%", L"高 - 30%"}, 3,
                kEcLevelOpacity);
}

void CreateSizeBox(App& app) {
    ui::ComboBox& box = *app.objects.sizeBox;
    box.Create(*app.objects.mainWindow, 510, 436, 60, 26);
    FillChoices(app, box, {L"128", L"256", L"512", L"768"}, 2, kSizeOpacity);
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
