#include "app/shell/decode_page.h"

#include "app/decode/decode_report.h"
#include "app/decode/decode_sources.h"
#include "app/decode/full_size_view.h"
#include "app/decode/open_dialog.h"
#include "app/decode/url_fetch.h"
#include "app/shell/pages.h"
#include "runtime/file_io.h"

namespace kodaro {

namespace {

constexpr wchar_t kAddressStart[] = L"http://";
constexpr int kFileNotFound = -1;

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
    AppObjects& o = app.objects;
    o.decodePathBox->Text(*path, true);
    ShowInPreview(app, ReadWholeFile(*path), std::nullopt);
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

void ShowPreviewFullSize(App& app) {
    ShowFullSize(app.mainWindowHandle, app.objects.previewPicture->Picture());
}

} // namespace kodaro
