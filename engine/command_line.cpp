#include "engine/command_line.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace fv::engine {
namespace {

constexpr int MaxPerftDepth = 12;

// Sets the action, refusing a second one.
// A request for help wins over any other action.
void SetAction(EngineCommand& command, EngineAction action, std::string_view option) {
  if (command.action == EngineAction::Help) return;
  if (command.action != EngineAction::Search && command.action != action)
    throw UsageError(std::string(option) + " cannot be combined with another action");
  command.action = action;
}

void ApplyPerft(EngineCommand& command, std::string_view value) {
  SetAction(command, EngineAction::Perft, "--perft");
  int depth = -1;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), depth);
  if (error != std::errc() || end != value.data() + value.size() || depth < 0 || depth > MaxPerftDepth)
    throw UsageError("--perft needs a depth from 0 to " + std::to_string(MaxPerftDepth) + ", not '" +
                     std::string(value) + "'");
  command.perftDepth = depth;
}

void ApplyPosition(EngineCommand& command, std::string_view value) {
  command.positionPath = std::string(value);
}

void ApplyCheck(EngineCommand& command, std::string_view) {
  SetAction(command, EngineAction::Check, "--check");
}

void ApplyUsi(EngineCommand& command, std::string_view) {
  SetAction(command, EngineAction::Usi, "usi");
}

void ApplyVersion(EngineCommand& command, std::string_view) {
  SetAction(command, EngineAction::Version, "--version");
}

void ApplyHelp(EngineCommand& command, std::string_view) { command.action = EngineAction::Help; }

constexpr EngineOption OptionTable[] = {
    {"--position", "FILE", "a file", "read the position from FILE instead of position.csa",
     ApplyPosition},
    {"--check", "", "", "check the position, engine.conf and fv.bin, and search nothing",
     ApplyCheck},
    {"--perft", "N", "a depth", "count the leaves of the legal move tree of depth N (0 to 12)",
     ApplyPerft},
    {"usi", "", "", "speak the USI protocol with a shogi GUI on standard input and output",
     ApplyUsi},
    {"--version", "", "", "show the version", ApplyVersion},
    {"--help", "", "", "show this text", ApplyHelp},
};

const EngineOption* FindOption(std::string_view name) {
  if (name == "-h") name = "--help";
  for (const EngineOption& option : OptionTable)
    if (option.name == name) return &option;
  return nullptr;
}

}  // namespace

std::span<const EngineOption> EngineOptions() { return OptionTable; }

EngineCommand ParseEngineCommand(std::span<const std::string_view> args) {
  EngineCommand command;
  std::vector<std::string_view> seen;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const EngineOption* option = FindOption(args[i]);
    if (!option) throw UsageError("unknown argument '" + std::string(args[i]) + "'");
    if (std::find(seen.begin(), seen.end(), option->name) != seen.end())
      throw UsageError(std::string(option->name) + " is given twice");
    seen.push_back(option->name);
    std::string_view value;
    if (!option->valueName.empty()) {
      if (i + 1 == args.size())
        throw UsageError(std::string(option->name) + " needs " + std::string(option->valueWhat));
      value = args[++i];
    }
    option->apply(command, value);
  }
  return command;
}

std::string EngineUsage() {
  std::string text =
      "usage: fvengine [OPTION...]\n"
      "Without an action, searches the position and writes log/game000.csa (the\n"
      "searched position) and log/n000.log (the search log).\n"
      "\n";
  for (const EngineOption& option : OptionTable) {
    std::string left = "  ";
    left += option.name;
    if (!option.valueName.empty()) (left += ' ') += option.valueName;
    left.resize(std::max<std::size_t>(left.size() + 1, 22), ' ');
    text += left + std::string(option.help) + "\n";
  }
  text +=
      "\n"
      "It reads from the working directory:\n"
      "  position.csa  optional CSA record: three header lines, the board lines P1\n"
      "                to P9, hand lines (P+00FU..., P-00KA...) and a line \"+\" or \"-\"\n"
      "                naming the side to move; without it the usual starting\n"
      "                position, Sente to move\n"
      "  engine.conf   optional settings, one 'name = value' a line ('#' starts a comment):\n"
      "                depth = 8     deepest iteration (1 to 64)\n"
      "                time = 4000   milliseconds before the search stops (0: no limit)\n"
      "                hash = 16     megabytes of hash table\n"
      "  fv.bin        the evaluation weights (required)\n";
  return text;
}

}  // namespace fv::engine
