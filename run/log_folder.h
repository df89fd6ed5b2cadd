// Emptying the engine's log folder before a run.
#pragma once

#include <string>

namespace fv {

// Removes every entry directly inside `folder` that is not a directory
// (regular files, symbolic links themselves, never their targets); subfolders
// and their contents stay. A link to a folder is followed: that folder's own
// files are removed. Creates the folder if it does not exist. Throws
// InputError if `folder` is not a directory or an entry cannot be removed.
void EmptyLogFolder(const std::string& folder);

}  // namespace fv
