#include "engine/position_source.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "io/input_error.h"
#include "io/regular_file.h"
#include "io/system_error.h"
#include "shogi/notation_error.h"
#include "shogi/record_reader.h"

namespace fv::engine {
namespace {

// Game records are kilobytes; a larger file is not one.
constexpr std::uint64_t MaxRecordBytes = 16 << 20;

std::string ReadRecordFile(const std::string& path) {
  const RegularFileOpening opening = OpenRegularFile(path);
  if (opening.failure != RegularFileOpening::Failure::None)
    throw InputError(path, OpeningProblem(opening));
  std::string bytes;
  char buffer[65536];
  ssize_t got = 0;
  while ((got = ::read(opening.fd, buffer, sizeof buffer)) > 0 && bytes.size() <= MaxRecordBytes)
    bytes.append(buffer, std::size_t(got));
  const int error = errno;
  ::close(opening.fd);
  if (got < 0) throw InputError(path, SystemProblem("cannot read", error));
  if (bytes.size() > MaxRecordBytes)
    throw InputError(path, "larger than a game record can be (16 MiB)");
  return bytes;
}

}  // namespace

PositionRecord LoadPositionSource(const std::string& source, std::optional<int> ply) {
  std::error_code error;
  const bool isFile =
      std::filesystem::exists(source, error) || NotationOf(source, "") != Notation::Sfen;
  GameRecord game;
  try {
    game = isFile ? ReadRecord(ReadRecordFile(source), source) : ReadSfenLine(source);
  } catch (const NotationError& e) {
    throw InputError(source, e.what());
  }
  const std::size_t moves = game.moves.size();
  if (ply && std::size_t(*ply) > moves)
    throw InputError(source, "no position after move " + std::to_string(*ply) +
                                 ": the record has " + std::to_string(moves) +
                                 (moves == 1 ? " move" : " moves"));
  const Board board = BoardAfter(game, ply ? std::size_t(*ply) : moves);
  const PositionRecord record{board.ToPosition(), board.SideToMove()};
  CheckPlayable(record, source);
  return record;
}

}  // namespace fv::engine
