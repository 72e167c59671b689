// What Kodaro is asked to do when it is started with arguments: write a
// symbol to a file, report the symbols of a picture, or print its usage.
#pragma once

#include "app/symbol/encode_symbol.h"
#include "app/symbol/save_command.h"

#include <span>
#include <string>
#include <string_view>

namespace kodaro {

enum class CommandKind {
    // No arguments: the window starts as usual.
    Window,
    Help,
    Encode,
    Decode,
    // The arguments cannot be followed; `error` says why.
    Bad,
};

// The sides the size box offers lie in this range; a command may ask for
// any side within it.
inline constexpr int kSmallestSide = 128;
inline constexpr int kLargestSide = 768;
inline constexpr int kDefaultSide = 256;

struct Command {
    CommandKind kind = CommandKind::Window;
    // Encode: the text the symbol carries, the file to write and its format
    // (from its extension), the level and the side in pixels.
    std::wstring text;
    std::wstring outPath;
    SaveFormat format = SaveFormat::Bmp;
    EcLevel level = kDefaultEcLevel;
    int side = kDefaultSide;
    // Decode: the picture to read.
    std::wstring inPath;
    // Bad: one line naming what is wrong.
    std::wstring error;
};

// The usage printed with --help and after bad arguments.
inline constexpr std::wstring_view kUsage =
    L"用法: Kodaro.exe --encode 文本 --out 文件(.bmp|.png|.svg)\r\n"
    L"                 [--level L|M|Q|H] [--size 128-768]\r\n"
    L"      Kodaro.exe --decode 文件\r\n"
    L"      Kodaro.exe --help";

// Reads the arguments that follow the program's name. Every option takes its
// value from the next argument; each may be given once and in any order.
Command ParseCommandLine(std::span<const std::wstring> arguments);

// The arguments of this process after the program's name, split the way the
// system splits them (quotes, backslashes) from its wide command line.
std::vector<std::wstring> ProcessArguments();

} // namespace kodaro
