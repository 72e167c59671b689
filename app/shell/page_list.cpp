#include "app/shell/page_list.h"

#include "app/shell/content_kind.h"
#include "ui/controls/embedded_image.h"

#include <array>

namespace kodaro {

namespace {

constexpr int kIconSide = 24;
constexpr int kKindCount = 6;

constexpr std::array<const wchar_t*, kKindCount> kKindCaptions{
    L"文本信息", L"名片信息", L"网址信息", L"快速拨号", L"短信信息", L"WiFi信息"};

const wchar_t* PageCaption(int page) {
    switch (page) {
    case kPageDecode:
        return L"图片信息";
    case kPageBeautify:
        return L"美化设置";
    default:
        return L"关于程序";
    }
}

} // namespace

void CreatePageList(App& app) {
    AppObjects& o = app.objects;
    o.pageImages->Create(kIconSide, kIconSide);
    for (int i = 0; i < kKindCount; ++i) {
        o.pageImages->AddPicture(ui::EmbeddedBytes(kKindIconFirst + i));
    }
    ui::ListViewOptions options;
    // One kind at a time: Control and Shift do not gather rows.
    options.singleSelection = true;
    o.pageList->Create(*o.mainWindow, 6, 109, 110, 340, options);
    o.pageList->InsertColumn(0, L"", 105);
    o.pageList->SetImageList(&*o.pageImages, kIconSide, kIconSide);
    FillPageList(app);
    o.pageList->Subscribe(ui::kListSelectionChanged,
                          [&app](ui::Control*, UINT, WPARAM, LPARAM row) {
                              OnPageListChanged(app, static_cast<int>(row));
                          });
}

void FillPageList(App& app) {
    ui::ListView& list = *app.objects.pageList;
    list.Clear();
    if (app.currentPage == kPageCreate) {
        for (int i = 0; i < kKindCount; ++i) {
            list.InsertItem(0, kKindCaptions[static_cast<size_t>(i)], i);
        }
        list.CurrentItem(static_cast<int>(app.currentContentType));
    } else {
        list.InsertItem(0, PageCaption(app.currentPage));
        list.CurrentItem(1);
    }
}

void OnPageListChanged(App& app, int row) {
    if (row >= 1 && row <= kKindCount) {
        SelectContentType(app, static_cast<ContentType>(row));
    }
}

} // namespace kodaro
