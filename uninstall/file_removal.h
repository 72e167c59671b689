// Deleting files and folder trees for the uninstaller. A junction or symbolic
// link is always removed as the link itself: nothing is followed into its
// target, which may lie anywhere.
#pragma once

#include <string>

namespace kodaro::uninstall {

// Deletes one file (read-only ones too). False when it is still there.
bool DeleteOneFile(const std::wstring& path);

// Deletes a folder with everything in it; a link (to a folder or a file) is
// removed as a link. Failures are skipped over. False when the path is still
// there afterwards.
bool RemoveTree(const std::wstring& path);

// True when no file lies anywhere below the folder (sub-folders may exist).
// A link below it counts as holding something, so a folder with a link is
// never taken for empty.
bool HoldsNoFile(const std::wstring& folder);

} // namespace kodaro::uninstall
