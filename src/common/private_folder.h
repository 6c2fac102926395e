// The user's private run-time folder: where the programs keep what only this user's programs may see
// or change (the shared-use table, the chart program's instance socket).
#pragma once

#include <string>

namespace cel {

// The folder XDG_RUNTIME_DIR names when it is a folder of this user that nobody else may enter;
// otherwise "celestigrafo-<uid>" in the temporary folder, created with mode 0700 and accepted only
// when it is this user's own folder closed to others; otherwise ".cache/celestigrafo-run" in the
// user's home folder, under the same conditions. Empty, with *error set to an errno value, when none
// of them can be had.
std::string PrivateRuntimeFolder(int *error = nullptr);

// True when path is a folder (not a link) owned by this user that no other user may enter or change.
bool IsPrivateFolder(const std::string &path);

} // namespace cel
