// Whole files written so that their final name holds either the complete new
// file or what it held before: the bytes go to a temporary file beside it,
// which is renamed into place (the same scheme as the report page).
#pragma once

#include <string>

namespace fv {

// Writes `bytes` to `path` through ".NAME.tmp-PID" in the same folder and
// renames it into place (a link of that name is replaced, not written
// through). Returns "" on success, else the problem ("cannot write (No space
// left on device)"); the temporary file is removed then.
std::string WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace fv
