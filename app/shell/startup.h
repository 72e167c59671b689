// The steps of start-up that come before the main window: the updater and the
// check for a waiting update.
#pragma once

#include <string>

namespace kodaro {

// Where the statistics browser goes once per start (the page counts starts).
inline constexpr wchar_t kStatisticsAddress[] = L"http://www.kodaro.example/stat/start.html";

// The folder of the running program, without a trailing separator.
std::wstring ProgramDirectory();

// Starts directory\upd.exe with the argument "-h" and does not wait for it.
// False when it could not be started (missing or not a program).
bool StartUpdater(const std::wstring& directory);

// Whether directory\Updata\updlist.dat exists: an update is waiting, and the
// program must end before it shows a window.
bool UpdateWaiting(const std::wstring& directory);

} // namespace kodaro
