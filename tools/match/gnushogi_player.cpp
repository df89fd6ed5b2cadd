#include "tools/match/gnushogi_player.h"

#include <sstream>
#include <vector>

namespace fv::match {
namespace {

// True when `text` is one to nine digits (an int), after a minus sign if `sign` allows it.
bool IsNumber(std::string_view text, bool sign = false) {
  if (sign && text.starts_with('-')) text.remove_prefix(1);
  return !text.empty() && text.size() <= 9 &&
         text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

GnushogiLine ParseGnushogiLine(std::string_view text) {
  const std::string line(text);
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; words.size() < 5 && in >> word;) words.push_back(word);
  const auto has = [&](const char* part) { return line.find(part) != std::string::npos; };

  GnushogiLine out;
  if (const std::size_t at = line.find("My move is:"); at != std::string::npos) {
    // "My move is: 7c7d", also after a prompt on the same line.
    std::istringstream rest(line.substr(at + 11));
    if (rest >> out.move) out.kind = GnushogiLine::Kind::Move;
  } else if (words.size() >= 3 && words[0].ends_with('.') &&
             IsNumber(std::string_view(words[0]).substr(0, words[0].size() - 1)) &&
             words[1] == "...") {
    // "12. ... 7c7d": the move it plays.
    out.kind = GnushogiLine::Kind::Played;
    out.move = words[2];
  } else if (words.size() == 5 && words[0].size() >= 2 &&
             IsNumber(std::string_view(words[0]).substr(0, words[0].size() - 1)) &&
             std::string_view(".&+-").find(words[0].back()) != std::string_view::npos &&
             IsNumber(words[1], true) && !words[2].empty() && !words[3].empty() &&
             words[2].find_first_not_of("0123456789") == std::string::npos &&
             words[3].find_first_not_of("0123456789") == std::string::npos) {
    // " 5.      1    1   164011   5h5i ...": depth and mark, score, time, nodes, moves.
    out.kind = GnushogiLine::Kind::Progress;
    out.depth = std::stoi(words[0]);
    out.score = std::stoi(words[1]);
  } else if (has("mates!")) {
    out.kind = GnushogiLine::Kind::Mates;
  } else if (has("Resigns")) {
    out.kind = GnushogiLine::Kind::Resign;
  } else if (has("Drawn game")) {
    out.kind = GnushogiLine::Kind::DrawClaim;
  } else if (has("Illegal move")) {
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
    lines = {
        "level 0 " + std::to_string(seconds_ / 60) + (sec < 10 ? ":0" : ":") + std::to_string(sec),
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
      return {Reply::Kind::Failure,
              "gnushogi gave no move within " + std::to_string(seconds_ + 30) + " s"};
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
