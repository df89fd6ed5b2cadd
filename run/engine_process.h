// Running the engine as a child process.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace fv {

// Flushes standard output, starts `program` directly (no shell, no
// arguments) sharing our standard streams, calls `started` once the program
// runs (its exec done), and waits for it to end. Throws InputError naming the
// program if it cannot be started; a non-zero exit status or a signal is only
// reported on `warnings`, since the logs decide.
void RunEngine(const std::string& program, const std::function<void()>& started = {},
               std::FILE* warnings = stderr);

}  // namespace fv
