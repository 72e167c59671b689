#include "app/shell/pages.h"

#include "app/decode/handed_pictures.h"
#include "app/shell/beautify_page.h"
#include "app/shell/create_page.h"
#include "app/shell/decode_page.h"
#include "app/shell/page_list.h"
#include "app/shell/page_painter.h"
#include "app/shell/plain_file.h"
#include "app/shell/preview_hover.h"
#include "app/shell/preview_regeneration.h"
#include "app/shell/symbol_options.h"
#include "app/symbol/clipboard_export.h"
#include "app/symbol/save_command.h"
#include "app/symbol/style_images.h"
#include "app/symbol/svg_export.h"
#include "runtime/file_io.h"
#include "ui/draw/shapes.h"

namespace kodaro {

namespace {

using ui::Control;

constexpr ui::ColorRef kBackgroundColor = 0xC0C0C0;
// Title label, close and minimise buttons.
constexpr int kFrameStyle = ui::kFrameTitle | ui::kFrameClose | ui::kFrameMinimise;
constexpr int kWindowOpacity = 240;
constexpr ui::Animation kShowAnimation = ui::Animation::Grow;
constexpr ui::Animation kCloseAnimation = ui::Animation::SlideFromAbove;
constexpr ui::Argb kTabTextColor = 0xD2FFFFFF;
// The ".." button covers the last 21 pixels of a path box (x 414 to 435).
constexpr float kBrowseButtonMargin = 22;

constexpr wchar_t kHelpTooltip[] =
    L"指二维码图标被遮挡多少后，仍可\r\n识别的能力。等级越高，则识别能\r\n力越强。";

std::vector<std::uint8_t> Resource(const App& app, const wchar_t* relativePath) {
    return ReadWholeFile(app.directory + L"\\" + relativePath);
}

HCURSOR HandCursor() {
    return LoadCursorW(nullptr, IDC_HAND);
}

void CreateTab(App& app, ui::TabButton& tab, float x, const wchar_t* caption,
               const wchar_t* image) {
    ui::ButtonOptions options;
    options.textColor = kTabTextColor;
    tab.Create(*app.objects.mainWindow, x, 35, 75, 70, caption, options);
    tab.SetImage(Resource(app, image), ui::kImageTop, ui::kImageCentred);
}

void CreateToolbarIcon(App& app, ui::TabButton& icon, float x, const wchar_t* image,
                       const wchar_t* tooltip) {
    icon.Create(*app.objects.previewToolbar, x, 302, 24, 24, L"");
    // Above an empty caption the 24 x 24 picture fills the button exactly.
    icon.SetImage(Resource(app, image), ui::kImageTop, ui::kImageCentred);
    icon.Tooltip(tooltip);
    icon.Opacity(190);
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

// A radio of a group, hidden until its page shows.
void CreateRadio(App& app, ui::RadioButton& radio, int group, float x, float y, float width,
                 const wchar_t* caption, bool checked = false) {
    ui::ButtonOptions hidden;
    hidden.visible = false;
    radio.Create(*app.objects.mainWindow, x, y, width, 24, caption, hidden);
    radio.GroupId(group);
    if (checked) {
        radio.Checked(true);
    }
}

// A picture-path box of the beautify page, hidden until its page shows; a
// change reloads its picture. Its text stays clear of the ".." button over
// its right end.
void CreatePathBox(App& app, ui::EditBox& box, float y, std::wstring_view text = {}) {
    ui::EditBoxOptions options;
    options.visible = false;
    options.rightMargin = kBrowseButtonMargin;
    box.Create(*app.objects.mainWindow, 187, y, 248, 22, text, options);
    box.OnChange([&app](Control*, ui::EditBox* changed) { OnBoxChanged(app, changed); });
}

// A ".." button beside a path box, hidden until its page shows.
void CreateBrowseButton(App& app, ui::PushButton& button, float y) {
    ui::ButtonOptions hidden;
    hidden.visible = false;
    button.Create(*app.objects.mainWindow, 414, y, 20, 19, L"..", hidden);
    button.Opacity(190);
}

// A colour swatch of the beautify page: a solid box the user clicks to pick
// a colour; hidden until its page shows.
void CreateSwatch(App& app, ui::Label& swatch, float y, ui::ColorRef color,
                  const wchar_t* tooltip) {
    ui::LabelOptions options;
    options.gradientMode = Gdiplus::LinearGradientModeVertical;
    options.gradientColor1 = ui::ToArgb(color);
    options.gradientColor2 = ui::ToArgb(color);
    options.borderStyle = ui::kBorderFlat;
    options.visible = false;
    swatch.Create(*app.objects.mainWindow, 187, y, 60, 20, L"", options);
    swatch.Tooltip(tooltip);
    swatch.Cursor(HandCursor());
    swatch.Focusable(true);
}

void CreateDecodePage(App& app) {
    AppObjects& o = app.objects;
    CreateRadio(app, *o.decodeSourceLocal, 1, 180, 146, 80, L"本地文件", true);
    CreateRadio(app, *o.decodeSourceWeb, 1, 260, 146, 80, L"网络文件");
    CreateRadio(app, *o.decodeSourcePreview, 1, 340, 146, 80, L"预览图片");
    ui::EditBoxOptions path;
    path.visible = false;
    path.rightMargin = kBrowseButtonMargin;
    o.decodePathBox->Create(*o.mainWindow, 187, 175, 248, 22, L"", path);
    ui::EditBoxOptions result;
    result.multiLine = true;
    result.inputType = ui::kEditReadOnly;
    result.scrollBars = ui::kEditVerticalBar;
    result.visible = false;
    o.decodeResultBox->Create(*o.mainWindow, 187, 204, 248, 123, L"", result);
    CreateBrowseButton(app, *o.decodeBrowseButton, 177);
}

void CreateBeautifyPage(App& app) {
    AppObjects& o = app.objects;
    // The default logo is loaded at once, before the box reports changes.
    const std::wstring logo = DefaultLogoPath(app.directory);
    ReloadStyleImage(StyleSlot::Logo, logo, ChosenSide(app));
    CreatePathBox(app, *o.logoPathBox, 146, logo);
    CreateBrowseButton(app, *o.logoBrowseButton, 148);
    CreateRadio(app, *o.logoBorderRectangle, 2, 180, 175, 60, L"矩形", true);
    CreateRadio(app, *o.logoBorderRounded, 2, 230, 175, 60, L"圆角");
    CreateRadio(app, *o.logoBorderNone, 2, 280, 175, 60, L"无");
    CreateRadio(app, *o.foregroundColorRadio, 3, 180, 202, 80, L"颜色", true);
    CreateRadio(app, *o.foregroundPictureRadio, 3, 230, 202, 60, L"图片");
    CreatePathBox(app, *o.foregroundPathBox, 230);
    CreateBrowseButton(app, *o.foregroundBrowseButton, 232);
    CreateSwatch(app, *o.foregroundColorSwatch, 231, 0x000000, L"选择前景颜色");
    CreateRadio(app, *o.backgroundColorRadio, 4, 180, 257, 80, L"颜色", true);
    CreateRadio(app, *o.backgroundPictureRadio, 4, 230, 257, 60, L"图片");
    CreateSwatch(app, *o.backgroundColorSwatch, 285, 0xFFFFFF, L"选择背景颜色");
    CreatePathBox(app, *o.backgroundPathBox, 284);
    CreateBrowseButton(app, *o.backgroundBrowseButton, 286);
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
    CreateToolbarIcon(app, *o.decodeIcon, 479, L"Resource\\Main\\Preview\\Decode.png",
                      L"解码二维码");
    CreateToolbarIcon(app, *o.beautifyIcon, 503, L"Resource\\Main\\Preview\\Diy.png",
                      L"美化二维码");
    CreateToolbarIcon(app, *o.copyIcon, 600, L"Resource\\Main\\Preview\\Copy.png", L"复制图片");
    CreateToolbarIcon(app, *o.saveIcon, 630, L"Resource\\Main\\Preview\\Save.png", L"保存二维码");

    o.infoGroup->Create(window, 450, 330, 210, 60, L"二维码信息");
    // The label centres its text, so it shares the drop-down's row to line up
    // with it.
    o.ecLevelLabel->Create(*o.infoGroup, 458, 352, 60, 24, L"纠错等级:");
    CreateEcLevelBox(app);
    o.ecHelpIcon->Create(*o.infoGroup, 630, 354, 24, 20,
                         Resource(app, L"Resource\\Main\\help.png"));
    o.ecHelpIcon->Opacity(125);
    o.ecHelpIcon->Cursor(HandCursor());
    o.ecHelpIcon->Tooltip(kHelpTooltip);
}

void CreateBottomBar(App& app) {
    AppObjects& o = app.objects;
    ui::HostWindow& window = *o.mainWindow;
    CreateSizeBox(app);
    o.saveButton->Create(window, 580, 436, 80, 26, L"保存[&S]");
    ui::ButtonOptions hidden;
    hidden.visible = false;
    o.decodeButton->Create(window, 580, 436, 80, 26, L"解码[&E]", hidden);
    // Below the info group, clear of the preview's mouse-over toolbar.
    o.scanMark->Create(window, 452, 396, 206, 20);
}

// The mark shows with the preview area while it has a verdict.
void ShowScanMark(App& app) {
    ScanMark& mark = *app.objects.scanMark;
    mark.Visible(mark.Verdict().has_value() && app.currentPage != kPageAbout);
}

// The foreground and background choices of the beautify page: the swatch
// while "颜色" is checked, the picture's path box and ".." button while "图片"
// is.
void ShowColorChoice(App& app, bool pageShown) {
    AppObjects& o = app.objects;
    o.foregroundColorSwatch->Visible(pageShown && o.foregroundColorRadio->Checked());
    o.foregroundPathBox->Visible(pageShown && o.foregroundPictureRadio->Checked());
    o.foregroundBrowseButton->Visible(o.foregroundPathBox->Visible());
    o.backgroundColorSwatch->Visible(pageShown && o.backgroundColorRadio->Checked());
    o.backgroundPathBox->Visible(pageShown && o.backgroundPictureRadio->Checked());
    o.backgroundBrowseButton->Visible(o.backgroundPathBox->Visible());
}

void OnRadioClick(App& app, Control* control) {
    AppObjects& o = app.objects;
    if (app.currentPage == kPageDecode) {
        OnDecodeSourceClick(app, control);
    } else if (app.currentPage == kPageBeautify) {
        if (control == &*o.logoBorderRectangle || control == &*o.logoBorderRounded ||
            control == &*o.logoBorderNone) {
            // Without a logo the border changes nothing on the symbol.
            if (IsPlainFile(o.logoPathBox->Text())) {
                app.preview.dirty = true;
            }
        } else if (control == &*o.foregroundColorRadio || control == &*o.foregroundPictureRadio ||
                   control == &*o.backgroundColorRadio || control == &*o.backgroundPictureRadio) {
            ShowColorChoice(app, true);
            app.preview.dirty = true;
        }
    }
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
        app.objects.mainWindow->RenderBackground({}, std::nullopt, ui::PresentMode::Whole);
    }
}

void ReadPreviewInputs(App& app, PreviewInputs& inputs) {
    AppObjects& o = app.objects;
    inputs.kind = app.currentContentType;
    ReadContentFields(app, inputs.fields);
    inputs.level = ChosenEcLevel(app);
    inputs.side = ChosenSide(app);
    SymbolStyle& style = inputs.style;
    style.foregroundIsPicture = o.foregroundPictureRadio->Checked();
    style.foregroundColor = o.foregroundColorSwatch->GradientColor1();
    style.backgroundIsPicture = o.backgroundPictureRadio->Checked();
    style.backgroundColor = o.backgroundColorSwatch->GradientColor1();
    // The logo is drawn while its box names a file; the picture itself was
    // loaded when the box changed.
    style.logoPath = o.logoPathBox->Text();
    style.logoBorder = o.logoBorderRounded->Checked() ? LogoBorder::Rounded
                       : o.logoBorderNone->Checked()  ? LogoBorder::None
                                                      : LogoBorder::Rectangle;
    style.side = inputs.side;
    inputs.read = true;
}

// Until the first regeneration the preview holds the placeholder picture;
// save and copy hand out a symbol of the current content instead.
void RenderSymbolIntoPreview(App& app) {
    if (app.previewContent != PreviewContent::Placeholder) {
        return;
    }
    PreviewInputs inputs;
    ReadPreviewInputs(app, inputs);
    const std::optional<std::vector<std::uint8_t>> picture = RenderPreviewNow(inputs);
    if (picture && !picture->empty()) {
        ShowInPreview(app, *picture, std::nullopt, PreviewContent::Symbol);
    }
}

// The SVG drawing of the symbol the preview shows, or of the picture the
// decode page put there.
std::optional<std::string> PreviewSvg(App& app) {
    if (app.previewContent != PreviewContent::Symbol) {
        return PictureSvg(app.objects.previewPicture->Picture());
    }
    PreviewInputs inputs;
    ReadPreviewInputs(app, inputs);
    return DrawPreviewSvgNow(inputs);
}

void SavePreview(App& app) {
    RenderSymbolIntoPreview(app);
    SaveSymbolCommand(app.mainWindowHandle, app.objects.previewPicture->Picture(),
                      [&app] { return PreviewSvg(app); });
}

void CopyPreview(App& app) {
    RenderSymbolIntoPreview(app);
    CopyImageToClipboard(app.mainWindowHandle, app.objects.previewPicture->Picture());
}

} // namespace

void ShowInPreview(App& app, std::span<const std::uint8_t> picture,
                   const std::optional<ScanVerdict>& verdict, PreviewContent content) {
    app.objects.previewPicture->Picture(picture);
    app.previewContent = content;
    app.objects.scanMark->Verdict(verdict);
    ShowScanMark(app);
}

bool BuildMainWindow(App& app) {
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
    attach.backgroundColor = kBackgroundColor;
    attach.frameStyle = kFrameStyle;
    attach.opacity = kWindowOpacity;
    if (!window.Attach(app.mainWindowHandle, attach)) {
        return false;
    }

    CreateTabs(app);
    CreatePageList(app);
    CreateCreatePage(app);
    CreateDecodePage(app);
    CreateBeautifyPage(app);
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
    // A picture file dropped on the window is decoded on the decode page.
    DragAcceptFiles(app.mainWindowHandle, TRUE);
    return true;
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
        ShowContentKind(app, app.currentContentType, show);
        o.saveButton->Visible(show);
        o.sizeBox->Visible(show);
    } else if (tab == &*o.decodeTab) {
        app.currentPage = kPageDecode;
        for (Control* part : std::initializer_list<Control*>{
                 &*o.decodeSourceLocal, &*o.decodeSourceWeb, &*o.decodeSourcePreview,
                 &*o.decodePathBox, &*o.decodeResultBox}) {
            part->Visible(show);
        }
        o.decodeBrowseButton->Visible(show && o.decodeSourceLocal->Checked());
        o.decodeButton->Visible(show);
    } else if (tab == &*o.beautifyTab) {
        app.currentPage = kPageBeautify;
        o.saveButton->Visible(show);
        o.sizeBox->Visible(show);
        o.logoPathBox->Visible(show);
        o.logoBrowseButton->Visible(show);
        for (ui::RadioButton* radio :
             {&*o.logoBorderRectangle, &*o.logoBorderRounded, &*o.logoBorderNone,
              &*o.foregroundColorRadio, &*o.foregroundPictureRadio, &*o.backgroundColorRadio,
              &*o.backgroundPictureRadio}) {
            radio->Visible(show);
        }
        ShowColorChoice(app, show);
    } else {
        app.currentPage = kPageAbout;
        o.previewCaption->Visible(false);
        o.infoGroup->Visible(false);
        o.previewPicture->Visible(false);
    }
    ShowScanMark(app);
    if (show) {
        FillPageList(app);
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
        if (OnSiteButtonClick(app, control)) {
            break;
        }
        if (IsPageTab(app, control)) {
            ClickTab(app, *static_cast<ui::TabButton*>(control));
        } else if (control == &*o.createIcon) {
            ClickTab(app, *o.createTab);
        } else if (control == &*o.beautifyIcon) {
            ClickTab(app, *o.beautifyTab);
        } else if (control == &*o.decodeIcon) {
            ClickTab(app, *o.decodeTab);
            DecodeShownSymbol(app);
        } else if (control == &*o.saveIcon) {
            SavePreview(app);
        } else if (control == &*o.copyIcon) {
            CopyPreview(app);
        }
        break;
    case ui::kKindRadioButton:
        OnRadioClick(app, control);
        break;
    case ui::kKindPushButton:
        if (control == &*o.saveButton) {
            SavePreview(app);
        } else if (control == &*o.decodeButton) {
            DecodeCheckedSource(app);
        } else if (control == &*o.decodeBrowseButton && app.currentPage == kPageDecode) {
            BrowseDecodePicture(app);
        } else if (app.currentPage == kPageBeautify) {
            BrowseStylePicture(app, control);
        }
        break;
    case ui::kKindLabel:
        PickSwatchColor(app, control);
        break;
    case ui::kKindPanel:
        if (control == &*o.previewCaption) {
            ShowPreviewFullSize(app);
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

LRESULT OnMainWindowMessage(App& app, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DROPFILES: {
        const auto drop = reinterpret_cast<HDROP>(wParam);
        const std::vector<std::wstring> files = DropBlockFiles(drop);
        DragFinish(drop);
        // Not while a dialog or the full-size view holds the window.
        if (!files.empty() && IsWindowEnabled(window)) {
            ClickTab(app, *app.objects.decodeTab);
            DecodeHandedFiles(app, files);
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (app.currentPage == kPageDecode && PasteIntoDecodePage(app, wParam)) {
            return 0;
        }
        break;
    case kReadPreviewInputs:
        ReadPreviewInputs(app, *reinterpret_cast<PreviewInputs*>(lParam));
        break;
    case kShowPreviewPicture: {
        const CheckedPreview& preview = *reinterpret_cast<const CheckedPreview*>(lParam);
        ShowInPreview(app, preview.picture, preview.verdict, PreviewContent::Symbol);
        break;
    }
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
