#include "app/cli/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include <optional>

namespace kodaro {

namespace {

// The level letters in encoder order: L 0, M 1, Q 2, H 3.
constexpr std::wstring_view kLevelLetters = L"LMQH";

std::optional<EcLevel> ParseLevel(std::wstring_view value) {
    if (value.size() != 1) {
        return std::nullopt;
    }
    const wchar_t letter = value[0] >= L'a' && value[0] <= L'z' ? value[0] - L'a' + L'A' : value[0];
    const std::size_t index = kLevelLetters.find(letter);
    if (index == std::wstring_view::npos) {
        return std::nullopt;
    }
    return static_cast<EcLevel>(index);
}

// Plain decimal digits only: no sign, spaces or unit.
std::optional<int> ParseSide(std::wstring_view value) {
    if (value.empty() || value.size() > 4) {
        return std::nullopt;
    }
    int side = 0;
    for (const wchar_t c : value) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        side = side * 10 + (c - L'0');
    }
    if (side < kSmallestSide || side > kLargestSide) {
        return std::nullopt;
    }
    return side;
}

Command Bad(std::wstring error) {
    Command command;
    command.kind = CommandKind::Bad;
    command.error = std::move(error);
    return command;
}

} // namespace

Command ParseCommandLine(std::span<const std::wstring> arguments) {
    if (arguments.empty()) {
        return {};
    }
    if (arguments.size() == 1 && (arguments[0] == L"--help" || arguments[0] == L"/?")) {
        Command help;
        help.kind = CommandKind::Help;
        return help;
    }
    std::optional<std::wstring> text;
    std::optional<std::wstring> out;
    std::optional<std::wstring> in;
    std::optional<EcLevel> level;
    std::optional<int> side;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        const std::wstring& option = arguments[i];
        if (option != L"--encode" && option != L"--out" && option != L"--decode" &&
            option != L"--level" && option != L"--size") {
            return Bad(L"无法识别的参数: " + option);
        }
        if (i + 1 >= arguments.size()) {
            return Bad(option + L" 缺少取值");
        }
        const std::wstring& value = arguments[i + 1];
        bool repeated = false;
        if (option == L"--encode") {
            repeated = text.has_value();
            text = value;
        } else if (option == L"--out") {
            repeated = out.has_value();
            out = value;
        } else if (option == L"--decode") {
            repeated = in.has_value();
            in = value;
        } else if (option == L"--level") {
            repeated = level.has_value();
            level = ParseLevel(value);
            if (!level) {
                return Bad(L"--level 只能是 L、M、Q 或 H: " + value);
            }
        } else {
            repeated = side.has_value();
            side = ParseSide(value);
            if (!side) {
                return Bad(L"--size 必须是 128 到 768 之间的整数: " + value);
            }
        }
        if (repeated) {
            return Bad(option + L" 只能给出一次");
        }
    }
    Command command;
    if (in) {
        if (text || out || level || side) {
            return Bad(L"--decode 不能与生成选项同用");
        }
        if (in->empty()) {
            return Bad(L"--decode 缺少文件名");
        }
        command.kind = CommandKind::Decode;
        command.inPath = std::move(*in);
        return command;
    }
    if (!text || !out) {
        return Bad(text ? L"--encode 需要 --out 文件" : L"缺少 --encode 文本");
    }
    // An empty text would silently become the encoder's stand-in payload.
    if (text->empty()) {
        return Bad(L"--encode 的文本不能为空");
    }
    if (out->empty()) {
        return Bad(L"--out 缺少文件名");
    }
    // The file's extension names its format; the name is kept as given.
    const SaveTarget target = ResolveSaveTarget(*out, SaveFormat::Bmp);
    if (target.path != *out) {
        return Bad(L"--out 的文件名须以 .bmp、.png 或 .svg 结尾: " + *out);
    }
    command.kind = CommandKind::Encode;
    command.format = target.format;
    command.text = std::move(*text);
    command.outPath = std::move(*out);
    command.level = level.value_or(kDefaultEcLevel);
    command.side = side.value_or(kDefaultSide);
    return command;
}

std::vector<std::wstring> ProcessArguments() {
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    if (list == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.emplace_back(list[i]);
    }
    LocalFree(list);
    return arguments;
}

} // namespace kodaro
