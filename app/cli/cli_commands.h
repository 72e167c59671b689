// Kodaro started with arguments: the command is carried out without a window
// and the process ends with its exit code.
#pragma once

#include <optional>

namespace kodaro {

// Exit codes of a command.
inline constexpr int kExitDone = 0;
inline constexpr int kExitBadArguments = 1;
// No symbol in the picture, a file that cannot be read or written, or a
// text no symbol can carry.
inline constexpr int kExitFailed = 2;

// Carries out the command of this process's arguments and gives its exit
// code; nothing when there are no arguments and the window should start.
std::optional<int> RunCommandLine();

} // namespace kodaro
