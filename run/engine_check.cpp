#include "run/engine_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/input_error.h"

namespace fv {

void CheckEngineCanStart(const std::string& program) {
  struct stat info {};
  int error = 0;
  if (::stat(program.c_str(), &info) != 0)
    error = errno;
  else if (!S_ISREG(info.st_mode))
    error = EACCES;
  else if (::faccessat(AT_FDCWD, program.c_str(), X_OK, AT_EACCESS) != 0)
    error = errno;
  if (error != 0)
    throw InputError(program, "cannot start (" + std::string(std::strerror(error)) + ")");
}

}  // namespace fv
