// The uninstaller's two stages. A running program cannot delete its own
// file, so the program in the installation folder (first stage) copies itself
// to the temporary folder and starts the copy with "-uninst"; the copy
// (second stage) shows the window, removes the installation and registers its
// own file for deletion at the next restart.
#pragma once

#include "uninstall/uninstall_window.h"

#include <string>
#include <vector>

namespace kodaro::uninstall {

// The manifest beside the program and in the installation folder.
inline constexpr wchar_t kManifestName[] = L"uninstall.dat";
// The temporary copy's file name in the temporary folder.
inline constexpr wchar_t kTemporaryCopyName[] = L"_unistall.tmp";
// Argument that starts the second stage.
inline constexpr wchar_t kSecondStageArgument[] = L"-uninst";
// Named event that exists exactly as long as a second stage runs.
inline constexpr wchar_t kInstanceEventName[] = L"Kodaro_Uninstall";

// The whole program after the framework's start-up: no argument runs the
// first stage, any argument the second. Returns the exit code.
int RunUninstaller(const UninstallProbe& probe = {});

// The program's own full path.
std::wstring ProgramPath();

// Where the temporary copy goes: %TMP% (else the system's temporary folder)
// + "\_unistall.tmp".
std::wstring TemporaryCopyPath();

// The installation folder from HKEY_LOCAL_MACHINE ...\Uninstall\Kodaro,
// value "InstallLocation", ending in "\"; empty when the value is missing.
std::wstring RegisteredInstallFolder();

// First stage: checks for the manifest (a missing one is reported in the
// framework's message box and ends the program), copies the program to the temporary
// copy and starts it with "-uninst" (not waited for).
int RunFirstStage(const std::wstring& programPath);

// Second stage with its first argument. The program file is registered for
// deletion at the next restart when it is the temporary copy.
int RunSecondStage(const std::wstring& argument, const std::wstring& programPath,
                   const UninstallProbe& probe);

} // namespace kodaro::uninstall
