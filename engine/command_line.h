// fvengine's command line: one action and the inputs it reads, from options
// given in any order. Each option is one row of EngineOptions, so a new option
// is a new row and the usage text lists it.
#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace fv::engine {

enum class EngineAction { Search, Check, Perft, Usi, Help, Version };

struct EngineCommand {
  EngineAction action = EngineAction::Search;
  int perftDepth = 0;
  // The record to search, check or count from; without it a search and a check
  // read position.csa if it exists, and perft starts from the initial position.
  std::optional<std::string> positionPath;
};

// A command line that cannot be followed: main prints it and the usage, status 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct EngineOption {
  std::string_view name;       // "--perft"
  std::string_view valueName;  // "N" in the usage; empty for an option without a value
  std::string_view valueWhat;  // "a depth", for "--perft needs a depth"
  std::string_view help;       // one line of the usage
  // Sets what the option asks for; throws UsageError for a value it refuses.
  void (*apply)(EngineCommand& command, std::string_view value);
};

std::span<const EngineOption> EngineOptions();

// Reads the arguments after the program name: every argument must be an option
// of EngineOptions (-h stands for --help) with its value, if it takes one; none
// given twice; at most one action, except that --help wins over any other.
EngineCommand ParseEngineCommand(std::span<const std::string_view> args);

// The usage text, its options taken from EngineOptions.
std::string EngineUsage();

}  // namespace fv::engine
