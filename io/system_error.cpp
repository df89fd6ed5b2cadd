#include "io/system_error.h"

#include <cstring>

namespace fv {

std::string SystemProblem(const std::string& what, int error) {
  std::string problem = what;
  problem += " (";
  problem += std::strerror(error);
  problem += ')';
  return problem;
}

}  // namespace fv
