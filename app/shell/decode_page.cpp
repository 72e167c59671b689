#include "app/shell/decode_page.h"

#include "app/decode/decode_report.h"
#include "app/decode/decode_sources.h"
#include "app/decode/full_size_view.h"
#include "app/decode/handed_pictures.h"
#include "app/decode/open_dialog.h"
#include "app/decode/url_fetch.h"
#include "app/shell/pages.h"
#include "runtime/file_io.h"
#include "ui/controls/clipboard_text.h"
#include "ui/draw/image.h"

namespace kodaro {

namespace {

constexpr wchar_t kAddressStart[] = L"http://";
constexpr int kFileNotFound = -1;
constexpr wchar_t kOnePictureOnly[] = L"一次只能解码一个图片文件。";
constexpr wchar_t kFolderGiven[] = L"这是一个文件夹，请给出一个图片文件。";

// A chosen picture: its path into the box and, when it is a picture, its
// bytes into the preview. Anything else leaves the preview as it was, so
// the preview never shows (or saves) a file that is no picture.
void ShowChosenPicture(App& app, const std::wstring& path) {
    AppObjects& o = app.objects;
    o.decodePathBox->Text(path, true);
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (ui::LoadImageFromBytes(bytes)) {
        ShowInPreview(app, bytes, std::nullopt);
    }
}

bool IsPasteKey(WPARAM key) {
    return (key == 'V' && GetKeyState(VK_CONTROL) < 0) ||
           (key == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0);
}

// Downloads the picture at the path box's address. A download that fails,
// takes too long or answers with an error status is reported as a missing
// file and leaves the preview as it was; a picture that arrives is shown in
// the preview and decoded. Nothing when the window was closed from outside
// while the download ran.
std::optional<std::wstring> DecodeWebPicture(App& app) {
    AppObjects& o = app.objects;
    // The window keeps painting while the download runs; the dimmed button
    // shows that the page is busy.
    o.decodeButton->Disabled(true);
    const FetchResult fetched = FetchUrlBytes(o.decodePathBox->Text());
    if (!IsWindow(app.mainWindowHandle)) {
        return std::nullopt;
    }
    o.decodeButton->Disabled(false);
    if (!fetched.Succeeded()) {
        return std::wstring(DecodeErrorMessage(kFileNotFound));
    }
    ShowInPreview(app, fetched.body, std::nullopt);
    return DecodePictureBytes(fetched.body);
}

} // namespace

bool OnDecodeSourceClick(App& app, ui::Control* source) {
    AppObjects& o = app.objects;
    const bool local = source == &*o.decodeSourceLocal;
    const bool web = source == &*o.decodeSourceWeb;
    if (!local && !web && source != &*o.decodeSourcePreview) {
        return false;
    }
    o.decodePathBox->Text(L"");
    o.decodeBrowseButton->Visible(local);
    o.decodePathBox->Disabled(!local && !web);
    if (web) {
        o.decodePathBox->Text(kAddressStart, true);
    }
    return true;
}

void BrowseDecodePicture(App& app) {
    const std::optional<std::wstring> path = ShowOpenDialog(app.mainWindowHandle);
    if (!path.has_value()) {
        return;
    }
    ShowChosenPicture(app, *path);
}

void DecodeCheckedSource(App& app) {
    AppObjects& o = app.objects;
    o.decodeResultBox->Text(L"");
    std::wstring report;
    if (o.decodeSourceLocal->Checked()) {
        report = DecodeLocalFile(o.decodePathBox->Text());
    } else if (o.decodeSourceWeb->Checked()) {
        std::optional<std::wstring> fetched = DecodeWebPicture(app);
        if (!fetched.has_value()) {
            return;
        }
        report = std::move(*fetched);
    } else {
        report = DecodePictureBytes(o.previewPicture->Picture());
    }
    o.decodeResultBox->Text(report);
}

void DecodeShownSymbol(App& app) {
    AppObjects& o = app.objects;
    OnDecodeSourceClick(app, &*o.decodeSourcePreview);
    o.decodeSourcePreview->Checked(true);
    DecodeCheckedSource(app);
}

void DecodeHandedFiles(App& app, const std::vector<std::wstring>& files) {
    AppObjects& o = app.objects;
    // The button is dimmed while a download is waited for.
    if (files.empty() || o.decodeButton->Disabled()) {
        return;
    }
    if (files.size() > 1) {
        o.decodeResultBox->Text(kOnePictureOnly);
        return;
    }
    const DWORD attributes = GetFileAttributesW(files[0].c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        o.decodeResultBox->Text(kFolderGiven);
        return;
    }
    OnDecodeSourceClick(app, &*o.decodeSourceLocal);
    o.decodeSourceLocal->Checked(true);
    ShowChosenPicture(app, files[0]);
    DecodeCheckedSource(app);
}

bool PasteIntoDecodePage(App& app, WPARAM key) {
    AppObjects& o = app.objects;
    if (!IsPasteKey(key) || !ClipboardHasPicture() || o.decodeButton->Disabled()) {
        return false;
    }
    ui::Control* focus = o.mainWindow->FocusControl();
    if (focus == &*o.decodePathBox && !o.decodePathBox->Disabled() && ui::ClipboardHasText()) {
        return false;
    }
    std::optional<ClipboardPicture> pasted = ReadClipboardPicture(app.mainWindowHandle);
    if (!pasted) {
        return false;
    }
    if (!pasted->files.empty()) {
        DecodeHandedFiles(app, pasted->files);
    } else {
        ShowInPreview(app, pasted->picture, std::nullopt);
        DecodeShownSymbol(app);
    }
    return true;
}

void ShowPreviewFullSize(App& app) {
    ShowFullSize(app.mainWindowHandle, app.objects.previewPicture->Picture());
}

} // namespace kodaro
