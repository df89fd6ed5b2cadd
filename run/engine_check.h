// Whether the engine program can be started, asked before anything is changed
// for it.
#pragma once

#include <string>

namespace fv {

// Throws InputError(program, "cannot start (<reason>)") unless `program` is a
// regular file (or a link to one) that the user may execute, with the reason
// that starting it would give: "No such file or directory" for a missing file
// or a link to nothing, "Permission denied" for a directory or a file without
// execute permission.
void CheckEngineCanStart(const std::string& program);

}  // namespace fv
