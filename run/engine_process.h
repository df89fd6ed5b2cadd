// Running the engine as a child process.
#pragma once

#include <cstdio>
#include <string>

namespace fv {

// Flushes standard output, starts `program` directly (no shell, no
// arguments) sharing our standard streams, and waits for it to end. Throws
// InputError naming the program if it cannot be started; a non-zero exit
// status or a signal is only reported on `warnings`, since the logs decide.
void RunEngine(const std::string& program, std::FILE* warnings = stderr);

}  // namespace fv
