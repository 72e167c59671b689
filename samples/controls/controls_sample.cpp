// Shows the buttons, tabs, radios, picture boxes, panels and edit boxes on a
// window made like the main window (background picture, frame, layered), for
// screenshots and the whole-program tests. Arguments: [milliseconds before it
// closes itself] [file that receives the edit boxes' texts when it closes].

#include "edit_boxes.h"
#include "runtime/file_io.h"
#include "runtime/text.h"
#include "ui/controls/panel.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/push_button.h"
#include "ui/controls/radio_button.h"
#include "ui/controls/tab_button.h"
#include "ui/host/framework.h"
#include "ui/host/host_window.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace kodaro::ui;

std::vector<std::uint8_t> ReadSource(const char* relative) {
    return kodaro::ReadWholeFile(
        kodaro::Utf8ToWide(std::string(KODARO_SOURCE_DIR) + "/" + relative));
}

void CALLBACK CloseAfterTimeout(HWND window, UINT, UINT_PTR, DWORD) {
    PostMessageW(window, WM_CLOSE, 0, 0);
}

struct Sample {
    HostWindow host;
    TabButton tabs[4];
    PushButton save, disabled, browse, focused;
    RadioButton local, web, preview, rect, rounded, none;
    PictureBox picture, animation, help;
    Panel frame, info, toolbar;
    TabButton icons[5];
    sample::SampleEditBoxes edits;
    std::wstring textsFile;
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!FrameworkStartup()) {
        return 1;
    }
    HostWindowOptions options;
    options.title = L"Kodaro controls";
    options.width = 680;
    options.height = 475;
    HWND window = CreateHostWindow(options);
    auto sample = std::make_unique<Sample>();
    HostWindow& host = sample->host;
    host.EventMessage = [edits = &sample->edits,
                         file = &sample->textsFile](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_DESTROY) {
            if (!file->empty()) {
                edits->WriteTexts(*file);
            }
            PostQuitMessage(0);
        }
        return -1;
    };
    std::vector<std::uint8_t> background = ReadSource("resources/Resource/Main/Bg.jpg");
    AttachOptions attach;
    attach.backgroundImage = background;
    attach.backgroundColor = 0xC0C0C0;
    attach.frameStyle = 22;
    attach.opacity = 240;
    if (!host.Attach(window, attach)) {
        return 1;
    }

    const char* tabImages[] = {"Create", "Decode", "Diy", "About"};
    const wchar_t* tabTexts[] = {L"生成二维码", L"解码二维码", L"美化二维码", L"关于程序"};
    for (int i = 0; i < 4; ++i) {
        ButtonOptions white;
        white.textColor = 0xD2FFFFFF;
        sample->tabs[i].Create(window, 20.0f + 80 * i, 35, 75, 70, tabTexts[i], white);
        sample->tabs[i].SetImage(
            ReadSource(
                (std::string("resources/Resource/Main/Tab/") + tabImages[i] + ".png").c_str()),
            kImageTop);
    }
    sample->tabs[0].Selected(true);

    sample->save.Create(window, 580, 436, 80, 26, L"保存[&S]");
    sample->disabled.Create(window, 490, 436, 80, 26, L"解码[&E]");
    sample->disabled.Disabled(true);
    sample->focused.Create(window, 400, 436, 80, 26, L"焦点");
    host.SetFocusControl(&sample->focused, true);
    sample->browse.Create(window, 414, 177, 20, 19, L"..");
    sample->browse.Opacity(190);

    RadioButton* group1[] = {&sample->local, &sample->web, &sample->preview};
    const wchar_t* group1Texts[] = {L"本地文件", L"网络文件", L"预览图片"};
    for (int i = 0; i < 3; ++i) {
        group1[i]->Create(window, 180.0f + 80 * i, 146, 80, 24, group1Texts[i]);
        group1[i]->GroupId(1);
    }
    sample->local.Checked(true);
    RadioButton* group2[] = {&sample->rect, &sample->rounded, &sample->none};
    const wchar_t* group2Texts[] = {L"矩形", L"圆角", L"无"};
    for (int i = 0; i < 3; ++i) {
        group2[i]->Create(window, 180.0f + 50 * i, 205, 60, 24, group2Texts[i]);
        group2[i]->GroupId(2);
    }
    sample->rounded.Checked(true);

    PictureOptions still;
    sample->picture.Create(window, 452, 120, 206, 207, ReadSource("resources/Resource/qr.jpg"),
                           still);
    sample->picture.Opacity(230);
    sample->frame.Create(window, 450, 111, 210, 218, L"二维码预览");
    sample->frame.Cursor(LoadCursorW(nullptr, IDC_HAND));
    sample->frame.Focusable(true);
    sample->frame.Tooltip(L"点击查看原图");

    PanelOptions bar;
    bar.fillColor = 0x80000000;
    sample->toolbar.Create(window, 451, 300, 208, 28, L"", bar);
    const char* iconImages[] = {"Create", "Decode", "Diy", "Copy", "Save"};
    const float iconX[] = {455, 479, 503, 600, 630};
    for (int i = 0; i < 5; ++i) {
        sample->icons[i].Create(sample->toolbar, iconX[i], 302, 24, 24, L"");
        sample->icons[i].SetImage(
            ReadSource(
                (std::string("resources/Resource/Main/Preview/") + iconImages[i] + ".png").c_str()),
            kImageTop);
    }
    sample->icons[0].Opacity(190);

    sample->info.Create(window, 450, 330, 210, 60, L"二维码信息");
    PictureOptions help;
    sample->help.Create(sample->info, 630, 354, 24, 20,
                        ReadSource("resources/Resource/Main/help.png"), help);
    sample->help.Opacity(125);

    PictureOptions animated;
    animated.animate = true;
    animated.fixZeroDelays = true;
    animated.borderStyle = 3;
    sample->animation.Create(window, 180, 260, 48, 48,
                             ReadSource("tests/ui/controls/data/anim_zero.gif"), animated);

    sample->edits.Create(window);

    host.SetCloseAnimation(Animation::SlideFromAbove);
    host.Show(Animation::Grow);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc > 1 && _wtoi(argv[1]) > 0) {
        SetTimer(window, 1, static_cast<UINT>(_wtoi(argv[1])), CloseAfterTimeout);
    }
    if (argc > 2) {
        sample->textsFile = argv[2];
    }
    LocalFree(argv);
    int code = RunMessageLoop();
    sample.reset();
    FrameworkShutdown();
    return code;
}
