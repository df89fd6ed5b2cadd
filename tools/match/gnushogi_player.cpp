#include "tools/match/gnushogi_player.h"

#include <regex>

namespace fv::match {
namespace {

// An iteration line of the search progress: depth and a mark, score, time, nodes, moves.
const std::regex ProgressPattern(R"(^\s*(\d+)[.&+-]\s+(-?\d+)\s+\d+\s+\d+\s+\S)");
const std::regex MovePattern(R"(My move is:\s*(\S+))");  // after a prompt, too
const std::regex PlayedPattern(R"(^\s*\d+\.\s+\.\.\.\s+(\S+))");

}  // namespace

GnushogiLine ParseGnushogiLine(std::string_view text) {
  const std::string line(text);
  GnushogiLine out;
  std::smatch m;
  if (std::regex_search(line, m, MovePattern)) {
    out.kind = GnushogiLine::Kind::Move;
    out.move = m[1];
  } else if (std::regex_search(line, m, PlayedPattern)) {
    out.kind = GnushogiLine::Kind::Played;
    out.move = m[1];
  } else if (std::regex_search(line, m, ProgressPattern)) {
    out.kind = GnushogiLine::Kind::Progress;
    out.depth = std::stoi(m[1]);
    out.score = std::stoi(m[2]);
  } else if (line.find("mates!") != std::string::npos) {
    out.kind = GnushogiLine::Kind::Mates;
  } else if (line.find("Resigns") != std::string::npos) {
    out.kind = GnushogiLine::Kind::Resign;
  } else if (line.find("Drawn game") != std::string::npos) {
    out.kind = GnushogiLine::Kind::DrawClaim;
  } else if (line.find("Illegal move") != std::string::npos) {
    out.kind = GnushogiLine::Kind::Refusal;
  }
  return out;
}

GnushogiPlayer::GnushogiPlayer(std::string program, int seconds, std::string workDir,
                               std::string errorLog)
    : program_(std::move(program)),
      seconds_(seconds),
      workDir_(std::move(workDir)),
      errorLog_(std::move(errorLog)) {}

GnushogiPlayer::~GnushogiPlayer() { Quit(); }

void GnushogiPlayer::Quit() {
  if (!process_) return;
  process_->WriteLine("quit");
  process_->Stop();
  process_.reset();
}

void GnushogiPlayer::NewGame() {
  Quit();
  // The raw mode buffers its output on a pipe: stdbuf makes it hand out each line.
  process_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"stdbuf", "-oL", program_, "-R"}, workDir_, errorLog_);
  known_ = 0;
  started_ = false;
  drawClaim_.clear();
}

Reply GnushogiPlayer::Think(const std::vector<std::string>& moves) {
  if (!process_) return {Reply::Kind::Failure, "gnushogi is not running"};
  if (!drawClaim_.empty()) return {Reply::Kind::DrawClaim, drawClaim_};
  std::vector<std::string> lines;
  if (!started_) {
    // Set the game up in force mode ("level 0 M:SS": that much time per move,
    // "post": search progress), then hand the program the side to move.
    const int sec = seconds_ % 60;
    lines = {"level 0 " + std::to_string(seconds_ / 60) + (sec < 10 ? ":0" : ":") +
                 std::to_string(sec),
             "post", "force"};
    lines.insert(lines.end(), moves.begin(), moves.end());
    lines.push_back(moves.size() % 2 == 0 ? "black" : "white");
    lines.push_back("go");
    started_ = true;
  } else if (moves.size() == known_ + 1) {
    lines = {moves.back()};
  } else {
    return {Reply::Kind::Failure, "gnushogi is out of step with the game"};
  }
  for (const std::string& line : lines)
    if (!process_->WriteLine(line))
      return {Reply::Kind::Failure, "gnushogi stopped reading (" + process_->Stop() + ")"};

  const auto deadline = ChildProcess::Clock::now() + std::chrono::seconds(seconds_ + 30);
  std::string score, played;
  int depth = 0;
  for (std::string text;;) {
    const ChildProcess::ReadStatus status = process_->ReadLine(text, deadline);
    if (status == ChildProcess::ReadStatus::Timeout)
      return {Reply::Kind::Failure, "gnushogi gave no move within " +
                                        std::to_string(seconds_ + 30) + " s"};
    if (status == ChildProcess::ReadStatus::Closed)
      return {Reply::Kind::Failure, "gnushogi ended (" + process_->Stop() + ")"};
    const GnushogiLine line = ParseGnushogiLine(text);
    switch (line.kind) {
      case GnushogiLine::Kind::Other:
        break;
      case GnushogiLine::Kind::Progress:
        score = std::to_string(line.score), depth = line.depth;
        break;
      case GnushogiLine::Kind::Played:
        played = line.move;
        break;
      case GnushogiLine::Kind::Mates:
        // A mating move is followed by this line instead of "My move is".
        if (played.empty()) break;
        known_ = moves.size() + 1;
        return {Reply::Kind::Move, played, score, depth};
      case GnushogiLine::Kind::Move:
        known_ = moves.size() + 1;
        return {Reply::Kind::Move, line.move, score, depth};
      case GnushogiLine::Kind::Resign:
        return {Reply::Kind::Resign, text, score, depth};
      case GnushogiLine::Kind::DrawClaim:
        if (played.empty()) return {Reply::Kind::DrawClaim, "gnushogi: " + text, score, depth};
        // Declared with its own move: the move stands, the claim comes at its next turn.
        drawClaim_ = "gnushogi: " + text;
        known_ = moves.size() + 1;
        return {Reply::Kind::Move, played, score, depth};
      case GnushogiLine::Kind::Refusal:
        return {Reply::Kind::Refusal, "gnushogi: " + text, score, depth};
    }
  }
}

}  // namespace fv::match
