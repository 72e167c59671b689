#include "app/cli/cli_commands.h"

#include "app/cli/command_line.h"
#include "app/cli/console_output.h"
#include "app/decode/decode_report.h"
#include "app/decode/decode_sources.h"
#include "app/shell/preview_regeneration.h"
#include "app/shell/startup.h"
#include "app/symbol/save_command.h"
#include "app/symbol/style_images.h"
#include "runtime/gdiplus_session.h"

namespace kodaro {

namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";

// Text for the user: to the stream when the process has one, else (started
// from a shortcut, say) in a message box so it is not lost. A stream that
// fails (its reader gone) never brings up a box a script would wait on.
// False when the text could not be written.
bool Tell(Stream stream, const std::wstring& text) {
    const WriteOutcome outcome = WriteText(stream, text + kLineEnd);
    if (outcome == WriteOutcome::NowhereToWrite) {
        MessageBoxW(nullptr, text.c_str(), L"Kodaro",
                    stream == Stream::Error ? MB_ICONERROR : MB_ICONINFORMATION);
    }
    return outcome != WriteOutcome::Failed;
}

int Encode(const Command& command) {
    PreviewInputs inputs;
    inputs.kind = ContentType::Text;
    inputs.fields.text = command.text;
    inputs.level = command.level;
    inputs.side = command.side;
    inputs.style.side = command.side;
    // The symbol looks as a fresh window's preview does: the default logo in
    // the middle, when it is installed beside the program.
    inputs.style.logoPath = DefaultLogoPath(ProgramDirectory());
    ReloadStyleImage(StyleSlot::Logo, inputs.style.logoPath, command.side);
    const std::vector<std::uint8_t> picture = MakePreviewPicture(inputs);
    if (picture.empty()) {
        Tell(Stream::Error, L"无法生成二维码：文本太长，请缩短文本或降低纠错等级。");
        return kExitFailed;
    }
    const std::optional<std::vector<std::uint8_t>> file =
        ExportBytes(command.format, picture, [&inputs] { return DrawPreviewSvgNow(inputs); });
    if (!file) {
        Tell(Stream::Error, SaveErrorText(command.outPath, L"无法生成此格式的文件。"));
        return kExitFailed;
    }
    if (const std::optional<DWORD> error = WriteWholeFile(command.outPath, *file)) {
        Tell(Stream::Error, SaveErrorText(command.outPath, *error));
        return kExitFailed;
    }
    return kExitDone;
}

int Decode(const Command& command) {
    const std::wstring report = DecodeLocalFile(command.inPath);
    if (IsDecodeFailure(report)) {
        Tell(Stream::Error, report.empty() ? L"无法解码此文件。" : report);
        return kExitFailed;
    }
    // A report that did not reach its reader (a full disk) is no success.
    return Tell(Stream::Output, report) ? kExitDone : kExitFailed;
}

} // namespace

std::optional<int> RunCommandLine() {
    const std::vector<std::wstring> arguments = ProcessArguments();
    const Command command = ParseCommandLine(arguments);
    switch (command.kind) {
    case CommandKind::Window:
        return std::nullopt;
    case CommandKind::Help:
        Tell(Stream::Output, std::wstring(kUsage));
        return kExitDone;
    case CommandKind::Bad:
        Tell(Stream::Error, command.error + kLineEnd + std::wstring(kUsage));
        return kExitBadArguments;
    case CommandKind::Encode:
    case CommandKind::Decode:
        break;
    }
    // Both commands draw or load pictures through GDI+.
    const GdiplusSession gdiplus;
    if (!gdiplus.ok()) {
        Tell(Stream::Error, L"GDI+ 无法启动。");
        return kExitFailed;
    }
    const int exitCode = command.kind == CommandKind::Encode ? Encode(command) : Decode(command);
    // The logo is a GDI+ picture and must go while GDI+ still runs.
    ProcessStyleImages().ReleaseAll();
    return exitCode;
}

} // namespace kodaro
