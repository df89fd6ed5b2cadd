#include "position/pv_reader.h"

#include <cstdio>
#include <cstring>

#include "position/line_reader.h"
#include "position/printable.h"
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

// One pass over the log, collecting the PV text.
struct LogScan {
  LogScan(const std::string& logPath, Notices& notes)
      : path(logPath), reader(logPath), notices(notes) {}

  // Reads the next line (or piece of a long line), warning once about each
  // line too long to be read whole.
  bool Next() {
    if (!reader.Next()) return false;
    if (reader.LineGoesOn() && reader.LineNumber() != longLineWarned) {
      longLineWarned = reader.LineNumber();
      Warn("line " + std::to_string(longLineWarned) + " is longer than " +
           std::to_string(LineReader::BufferSize - 1) +
           " characters and is read in pieces; a move may be cut where a piece ends");
    }
    return true;
  }

  void Warn(const std::string& what) { notices.push_back({path, "warning: " + what}); }

  std::string path;
  LineReader reader;
  Notices& notices;
  std::string text;
  Side side = Sente;
  bool full = false;   // a move did not fit the text: no later move is appended
  bool ended = false;  // a line after the "  8  " line held no move where one was due
  int longLineWarned = 0;
};

// Collects the tagged moves starting at the current line, the "  8  " line.
void CollectMoves(LogScan& scan) {
  LineReader& reader = scan.reader;
  const int markerLine = reader.LineNumber();
  std::size_t p = 0;
  for (int n = 1; n <= LastTag; ++n) {
    char tag[8];
    std::snprintf(tag, sizeof tag, "%d.", n);
    int q = Find(reader.Line(), p, tag);
    if (q < 0) {
      scan.Next();
      p = 0;
      q = Find(reader.Line(), p, tag);
      if (q < 0) continue;
    }
    const char* line = reader.Line();
    const std::size_t length = std::strlen(line);
    const std::size_t start = std::size_t(q) + (n < 10 ? 3 : 4);
    if (n == 1 && std::size_t(q) + 2 < length) {
      if (line[q + 2] == '+') scan.side = Sente;
      if (line[q + 2] == '-') scan.side = Gote;
    }
    const std::string move =
        start < length ? std::string(line + start).substr(0, PvMoveLength) : "";
    if (n > 1 && reader.LineNumber() != markerLine && !HasMoveForm(move)) {
      scan.Warn("line " + std::to_string(reader.LineNumber()) + ": move " + std::to_string(n) +
                " (" + Printable(move) + ") is not a move; the PV ends before it");
      scan.ended = true;
      return;
    }
    scan.full = scan.full || scan.text.size() + move.size() > PvTextCapacity;
    if (!scan.full) scan.text += move;
    p = std::size_t(q) + 6;
  }
}

}  // namespace

Side ReadPvText(const std::string& path, std::string& text, Notices& notices) {
  LogScan scan(path, notices);
  if (!scan.reader.IsOpen()) {
    scan.Warn(scan.reader.OpenError() + ", the PV is empty");
    text.clear();
    return scan.side;
  }
  while (!scan.ended && scan.Next()) {
    const char* line = scan.reader.Line();
    if (std::strstr(line, "pruning") || std::strstr(line, "hashing")) break;
    if (std::strstr(line, "  8  ")) CollectMoves(scan);
  }
  if (scan.text.empty()) {
    scan.Warn("no PV found, the PV is empty");
  } else if (scan.full) {
    scan.Warn("PV longer than " + std::to_string(PvTextCapacity) + " characters, kept its first " +
              std::to_string(scan.text.size() / PvMoveLength) + " moves");
  }
  text = scan.text;
  return scan.side;
}

}  // namespace fv
