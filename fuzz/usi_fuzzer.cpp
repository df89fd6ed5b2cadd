// The USI session on arbitrary command lines (the input's lines). Whatever
// comes, the session must not crash or hang, must answer only with the
// protocol's words, and must answer each "go" exactly once: with a best move,
// with "checkmate" for a mate search, or with the note that a search is under
// way. The weights are small tables in memory whatever EvalFile says, and
// USI_Hash is left alone to keep memory use low.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/usi.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/engine_weights.h"

namespace {

using namespace fv;

constexpr std::size_t MaxLines = 64;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string_view FirstWord(std::string_view line) {
  const auto begin = line.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) return {};
  return line.substr(begin, line.find_first_of(" \t\r", begin) - begin);
}

bool MentionsHashSize(std::string_view line) {
  std::string lower(line);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return lower.find("usi_hash") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const engine::Weights weights = engine::testing::PseudoRandomWeights(5, 1, 200);
  char* buffer = nullptr;
  std::size_t length = 0;
  std::FILE* out = open_memstream(&buffer, &length);
  int goCount = 0;
  {
    engine::UsiEngine session(out, [](const std::string&) { return weights; });
    std::string_view input = fuzz::AsText(data, size);
    for (std::size_t lines = 0; !input.empty() && lines < MaxLines; ++lines) {
      const std::string_view line = input.substr(0, input.find('\n'));
      input.remove_prefix(std::min(input.size(), line.size() + 1));
      if (MentionsHashSize(line)) continue;
      goCount += FirstWord(line) == "go";
      if (!session.Handle(line)) break;
    }
  }
  std::fclose(out);
  int answers = 0;
  std::string_view text(buffer, length);
  while (!text.empty()) {
    const std::string_view line = text.substr(0, text.find('\n'));
    text.remove_prefix(std::min(text.size(), line.size() + 1));
    const std::string_view word = FirstWord(line);
    fuzz::Expect(word == "id" || word == "option" || word == "usiok" || word == "readyok" ||
                     word == "info" || word == "bestmove" || word == "checkmate",
                 "every answer is a USI answer");
    answers += word == "bestmove" || word == "checkmate" ||
               StartsWith(line, "info string go: a search is under way");
  }
  std::free(buffer);
  fuzz::Expect(answers == goCount, "every go is answered once");
  return 0;
}
