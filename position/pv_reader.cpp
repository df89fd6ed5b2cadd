#include "position/pv_reader.h"

#include <cstring>

#include "position/line_reader.h"
#include "position/pv_moves.h"

namespace fv {

namespace {

constexpr int LastTag = 15;

// Position of `tag` in `line` at or after `from`, or -1. A start past the end
// of the line finds nothing.
int Find(const char* line, std::size_t from, const char* tag) {
  if (from > std::strlen(line)) return -1;
  const char* found = std::strstr(line + from, tag);
  return found ? int(found - line) : -1;
}

// Collects the tagged moves starting at the current line of `reader`. Once a
// move does not fit the text, `full` is set and no later move is appended.
void CollectMoves(LineReader& reader, std::string& text, Side& side, bool& full) {
  std::size_t p = 0;
  for (int n = 1; n <= LastTag; ++n) {
    char tag[8];
    std::snprintf(tag, sizeof tag, "%d.", n);
    int q = Find(reader.Line(), p, tag);
    if (q < 0) {
      reader.Next();
      p = 0;
      q = Find(reader.Line(), p, tag);
      if (q < 0) continue;
    }
    const char* line = reader.Line();
    const std::size_t length = std::strlen(line);
    const std::size_t start = std::size_t(q) + (n < 10 ? 3 : 4);
    if (n == 1 && std::size_t(q) + 2 < length) {
      if (line[q + 2] == '+') side = Sente;
      if (line[q + 2] == '-') side = Gote;
    }
    const std::string move = start < length ? std::string(line + start).substr(0, PvMoveLength) : "";
    full = full || text.size() + move.size() > PvTextCapacity;
    if (!full) text += move;
    p = std::size_t(q) + 6;
  }
}

}  // namespace

Side ReadPvText(const std::string& path, std::string& text, std::FILE* warnings) {
  text.clear();
  Side side = Sente;
  LineReader reader(path);
  if (!reader.IsOpen()) {
    std::fprintf(warnings, "fvexplain: %s: warning: %s, the PV is empty\n",
                 path.c_str(), reader.OpenError().c_str());
    return side;
  }
  bool full = false;
  while (reader.Next()) {
    const char* line = reader.Line();
    if (std::strstr(line, "pruning") || std::strstr(line, "hashing")) break;
    if (std::strstr(line, "  8  ")) CollectMoves(reader, text, side, full);
  }
  if (text.empty()) {
    std::fprintf(warnings, "fvexplain: %s: warning: no PV found, the PV is empty\n", path.c_str());
  } else if (full) {
    std::fprintf(warnings, "fvexplain: %s: warning: PV longer than %zu characters, kept its first %zu moves\n",
                 path.c_str(), PvTextCapacity, text.size() / PvMoveLength);
  }
  return side;
}

}  // namespace fv
