#pragma once
// Runs a program of ours in a child process, waits for a message box it shows,
// reads the box's text, answers it and collects the exit code.

#include <windows.h>

#include <string>

namespace kodaro::test {

struct ChildOutcome {
    bool started = false;
    bool boxSeen = false;
    std::wstring boxText;
    bool exited = false;
    DWORD exitCode = 0;
};

// `commandLine` is run in `folder` (empty: the current folder). When a
// top-level window titled `boxTitle` appears in the child within the time
// limit, its static text is read and it is answered with OK.
ChildOutcome RunChildAnsweringBox(const std::wstring& commandLine, const std::wstring& folder,
                                  const std::wstring& boxTitle);

// The folder of the running test program.
std::wstring ProgramFolder();

} // namespace kodaro::test
