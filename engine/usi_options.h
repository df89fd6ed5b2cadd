// The engine's USI options: their declarations for the "usi" answer and the
// "setoption" command that changes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fv::engine {

struct UsiOptions {
  std::string evalFile = "fv.bin";  // EvalFile: the weight file
  int hashMb = 16;                  // USI_Hash: megabytes of hash table
  bool ponder = false;              // USI_Ponder: the GUI lets the engine think on its time
  int depth = 0;                    // Depth: deepest iteration, 0 for no limit
};

// The "option name ... type ..." lines of the options and their defaults.
std::vector<std::string> OptionDeclarations();

// Applies the words after "setoption": "name X value Y". Option names are
// matched without regard to case; a string value keeps its inner blanks.
// Returns "" when done, else why nothing was changed.
std::string SetOption(UsiOptions& options, std::string_view arguments);

}  // namespace fv::engine
