#include "app/shell/pages.h"

#include "app/shell/file_bytes.h"
#include "app/shell/page_painter.h"
#include "app/shell/preview_hover.h"
#include "app/symbol/clipboard_export.h"
#include "app/symbol/save_command.h"
#include "app/symbol/style_images.h"

namespace kodaro {

namespace {

using ui::Control;

constexpr ui::ColorRef kBackgroundColour = 0xC0C0C0;
// Title label, close and minimise buttons.
constexpr int kFrameStyle = ui::kFrameTitle | ui::kFrameClose | ui::kFrameMinimise;
constexpr int kWindowOpacity = 240;
constexpr int kShowAnimation = 7;
constexpr int kCloseAnimation = 2;
constexpr ui::Argb kTabTextColour = 0xD2FFFFFF;

constexpr wchar_t kHelpTooltip[] =
    L"指二维码图标被遮挡多少后，仍可\r\n识别的能力。等级越高，则识别能\r\n力越强。";

std::vector<std::uint8_t> Resource(const App& app, const wchar_t* relativePath) {
    return ReadFileBytes(app.directory + L"\\" + relativePath);
}

HCURSOR HandCursor() {
    return LoadCursorW(nullptr, IDC_HAND);
}

void CreateTab(App& app, ui::TabButton& tab, float x, const wchar_t* caption,
               const wchar_t* image) {
    ui::ButtonOptions options;
    options.textColor = kTabTextColour;
    tab.Create(*app.objects.mainWindow, x, 35, 75, 70, caption, options);
    tab.SetImage(Resource(app, image), ui::kImageTop, ui::kImageCentred);
}

void CreateToolbarIcon(App& app, ui::TabButton& icon, float x, const wchar_t* image,
                       const wchar_t* tooltip) {
    icon.Create(*app.objects.previewToolbar, x, 302, 24, 24, L"");
    icon.SetImage(Resource(app, image));
    icon.Tooltip(tooltip);
}

void CreateTabs(App& app) {
    AppObjects& o = app.objects;
    CreateTab(app, *o.createTab, 20, L"生成二维码", L"Resource\\Main\\Tab\\Create.png");
    CreateTab(app, *o.decodeTab, 100, L"解码二维码", L"Resource\\Main\\Tab\\Decode.png");
    CreateTab(app, *o.beautifyTab, 180, L"美化二维码", L"Resource\\Main\\Tab\\Diy.png");
    CreateTab(app, *o.aboutTab, 260, L"关于程序", L"Resource\\Main\\Tab\\About.png");
    o.createTab->Selected(true);
    app.selectedTab = &*o.createTab;
}

void CreatePreviewArea(App& app) {
    AppObjects& o = app.objects;
    ui::HostWindow& window = *o.mainWindow;
    o.previewPicture->Create(window, 452, 120, 206, 207, Resource(app, L"Resource\\qr.jpg"));
    o.previewPicture->Opacity(230);

    o.previewCaption->Create(window, 450, 111, 210, 218, L"二维码预览");
    o.previewCaption->Tooltip(L"点击查看原图");
    o.previewCaption->Cursor(HandCursor());
    o.previewCaption->Focusable(true);

    ui::PanelOptions hidden;
    hidden.visible = false;
    o.previewToolbar->Create(window, 451, 300, 208, 28, L"", hidden);
    CreateToolbarIcon(app, *o.createIcon, 455, L"Resource\\Main\\Preview\\Create.png",
                      L"生成二维码");
    o.createIcon->Opacity(190);
    CreateToolbarIcon(app, *o.decodeIcon, 479, L"Resource\\Main\\Preview\\Decode.png",
                      L"解码二维码");
    CreateToolbarIcon(app, *o.beautifyIcon, 503, L"Resource\\Main\\Preview\\Diy.png",
                      L"美化二维码");
    CreateToolbarIcon(app, *o.copyIcon, 600, L"Resource\\Main\\Preview\\Copy.png", L"复制图片");
    CreateToolbarIcon(app, *o.saveIcon, 630, L"Resource\\Main\\Preview\\Save.png", L"保存二维码");

    o.infoGroup->Create(window, 450, 330, 210, 60, L"二维码信息");
    o.ecHelpIcon->Create(*o.infoGroup, 630, 354, 24, 20,
                         Resource(app, L"Resource\\Main\\help.png"));
    o.ecHelpIcon->Opacity(125);
    o.ecHelpIcon->Cursor(HandCursor());
    o.ecHelpIcon->Tooltip(kHelpTooltip);
}

void CreateBottomBar(App& app) {
    AppObjects& o = app.objects;
    ui::HostWindow& window = *o.mainWindow;
    o.saveButton->Create(window, 580, 436, 80, 26, L"保存[&S]");
    ui::ButtonOptions hidden;
    hidden.visible = false;
    o.decodeButton->Create(window, 580, 436, 80, 26, L"解码[&E]", hidden);
}

bool IsPageTab(const App& app, const Control* control) {
    const AppObjects& o = app.objects;
    return control != nullptr && (control == &*o.createTab || control == &*o.decodeTab ||
                                  control == &*o.beautifyTab || control == &*o.aboutTab);
}

void ClickTab(App& app, ui::TabButton& tab) {
    if (&tab == app.selectedTab) {
        return;
    }
    if (ShowPage(app, app.selectedTab, false)) {
        app.selectedTab = &tab;
        ShowPage(app, &tab, true);
        // The painter draws the texts of the new page into the background.
        app.objects.mainWindow->RenderBackground({}, std::nullopt, ui::kPresentWhole);
    }
}

void SavePreview(App& app) {
    SaveSymbolCommand(app.mainWindowHandle, app.objects.previewPicture->Picture());
}

} // namespace

void BuildMainWindow(App& app) {
    AppObjects& o = app.objects;
    ui::HostWindow& window = *o.mainWindow;
    app.currentPage = kPageCreate;
    app.currentContentType = ContentType::Text;
    window.EventPaint = [&app](HWND, Gdiplus::GpGraphics* graphics, int width, int height) {
        PaintPage(app, graphics, width, height);
    };

    const std::vector<std::uint8_t> background = Resource(app, L"Resource\\Main\\Bg.jpg");
    ui::AttachOptions attach;
    attach.backgroundImage = background;
    attach.backgroundColour = kBackgroundColour;
    attach.frameStyle = kFrameStyle;
    attach.opacity = kWindowOpacity;
    window.Attach(app.mainWindowHandle, attach);

    CreateTabs(app);
    CreatePreviewArea(app);
    CreateBottomBar(app);

    window.RenderBackground();
    window.Show(kShowAnimation);
    window.SetCloseAnimation(kCloseAnimation);
    window.EventMessage = [&app](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return OnMainWindowMessage(app, hwnd, message, wParam, lParam);
    };
    window.EventClick = [&app](HWND, Control* control, WPARAM, LPARAM, int kind) {
        OnMainWindowClick(app, control, kind);
    };
}

bool ShowPage(App& app, Control* tab, bool show) {
    AppObjects& o = app.objects;
    if (!IsPageTab(app, tab)) {
        return false;
    }
    o.previewCaption->Visible(true);
    o.infoGroup->Visible(true);
    o.previewPicture->Visible(true);
    static_cast<ui::TabButton*>(tab)->Selected(show);
    if (tab == &*o.createTab) {
        app.currentPage = kPageCreate;
        o.saveButton->Visible(show);
    } else if (tab == &*o.decodeTab) {
        app.currentPage = kPageDecode;
        o.decodeButton->Visible(show);
    } else if (tab == &*o.beautifyTab) {
        app.currentPage = kPageBeautify;
        o.saveButton->Visible(show);
    } else {
        app.currentPage = kPageAbout;
        o.previewCaption->Visible(false);
        o.infoGroup->Visible(false);
        o.previewPicture->Visible(false);
    }
    return true;
}

void OnMainWindowClick(App& app, Control* control, int kind) {
    AppObjects& o = app.objects;
    if (control == nullptr) {
        return;
    }
    switch (kind) {
    case ui::kKindTabButton:
        if (IsPageTab(app, control)) {
            ClickTab(app, *static_cast<ui::TabButton*>(control));
        } else if (control == &*o.createIcon) {
            ClickTab(app, *o.createTab);
        } else if (control == &*o.beautifyIcon) {
            ClickTab(app, *o.beautifyTab);
        } else if (control == &*o.decodeIcon) {
            ClickTab(app, *o.decodeTab);
        } else if (control == &*o.saveIcon) {
            SavePreview(app);
        } else if (control == &*o.copyIcon) {
            CopyImageToClipboard(o.previewPicture->Picture());
        }
        break;
    case ui::kKindPushButton:
        if (control == &*o.saveButton) {
            SavePreview(app);
        }
        break;
    case ui::kKindPictureBox:
        if (control == &*o.ecHelpIcon) {
            control->ApplyTooltip();
        }
        break;
    default:
        break;
    }
}

LRESULT OnMainWindowMessage(App& app, HWND, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        app.preview.running = false;
        ProcessStyleImages().ReleaseAll();
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_MOUSEMOVE:
        if (app.currentPage != kPageAbout) {
            app.objects.previewToolbar->Visible(PreviewHovered(lParam));
        }
        break;
    default:
        break;
    }
    return -1;
}

} // namespace kodaro
