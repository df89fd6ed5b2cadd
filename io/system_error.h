// The one form in which messages give a system error: what could not be
// done, then the system's reason in brackets, "cannot open (No such file or
// directory)".
#pragma once

#include <string>

namespace fv {

// `what` followed by the text of the errno value `error` in brackets.
std::string SystemProblem(const std::string& what, int error);

}  // namespace fv
