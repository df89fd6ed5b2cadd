#include "tools/match/usi_player.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace fv::match {
namespace {

// Grace beyond the byoyomi before a silent engine counts as hung.
constexpr int GraceMs = 10000;

}  // namespace

UsiLine ParseUsiLine(std::string_view text) {
  std::istringstream in{std::string(text)};
  std::string word;
  UsiLine out;
  if (!(in >> word)) return out;
  if (word == "bestmove") {
    if (in >> out.move) out.kind = UsiLine::Kind::BestMove;
    return out;
  }
  if (word != "info") return out;
  out.kind = UsiLine::Kind::Info;
  while (in >> word) {
    if (word == "pv" || word == "string") break;  // the rest is moves or free text
    std::string kind, value;
    if (word == "depth") {
      if (!(in >> value)) break;
      out.depth = std::atoi(value.c_str());
    } else if (word == "score" && in >> kind >> value && (kind == "cp" || kind == "mate")) {
      out.score = kind + " " + value;
    }
  }
  return out;
}

UsiPlayer::UsiPlayer(std::string name, std::vector<std::string> command,
                     std::vector<std::pair<std::string, std::string>> options, int byoyomiMs,
                     std::string workDir, std::string errorLog)
    : name_(std::move(name)),
      command_(std::move(command)),
      options_(std::move(options)),
      byoyomiMs_(byoyomiMs),
      workDir_(std::move(workDir)),
      errorLog_(std::move(errorLog)) {}

UsiPlayer::~UsiPlayer() { Quit(); }

void UsiPlayer::Quit() {
  if (!process_) return;
  process_->WriteLine("quit");
  process_->Stop();
  process_.reset();
}

bool UsiPlayer::AwaitLine(std::string_view word, std::chrono::seconds patience,
                          std::string& problem) {
  const auto deadline = ChildProcess::Clock::now() + patience;
  for (std::string line;;) {
    const ChildProcess::ReadStatus status = process_->ReadLine(line, deadline);
    if (status == ChildProcess::ReadStatus::Line) {
      if (line.starts_with(word)) return true;
      continue;
    }
    problem = status == ChildProcess::ReadStatus::Timeout
                  ? "no " + std::string(word) + " within " + std::to_string(patience.count()) + " s"
                  : "ended (" + process_->Stop() + ")";
    return false;
  }
}

void UsiPlayer::Start() {
  process_ = std::make_unique<ChildProcess>(command_, workDir_, errorLog_);
  std::string problem;
  bool ok = process_->WriteLine("usi") && AwaitLine("usiok", std::chrono::seconds(30), problem);
  for (const auto& [option, value] : options_)
    ok = ok && process_->WriteLine("setoption name " + option + " value " + value);
  // Loading the weights may take a while on a cold cache.
  ok = ok && process_->WriteLine("isready") &&
       AwaitLine("readyok", std::chrono::seconds(300), problem);
  if (!ok) {
    const std::string how = problem.empty() ? "stopped reading" : problem;
    Quit();
    throw std::runtime_error(name_ + " does not start as a USI engine: " + how);
  }
}

void UsiPlayer::NewGame() {
  if (!process_) Start();
  process_->WriteLine("usinewgame");
}

Reply UsiPlayer::Think(const std::vector<std::string>& moves) {
  if (!process_) return {Reply::Kind::Failure, name_ + " is not running"};
  std::string position = "position startpos";
  if (!moves.empty()) position += " moves";
  for (const std::string& m : moves) position += " " + m;
  const std::string go = "go btime 0 wtime 0 byoyomi " + std::to_string(byoyomiMs_);
  if (!process_->WriteLine(position) || !process_->WriteLine(go)) {
    const std::string how = process_->Stop();
    process_.reset();
    return {Reply::Kind::Failure, name_ + " stopped reading (" + how + ")"};
  }
  const auto deadline =
      ChildProcess::Clock::now() + std::chrono::milliseconds(byoyomiMs_ + GraceMs);
  std::string score;
  int depth = 0;
  for (std::string text;;) {
    const ChildProcess::ReadStatus status = process_->ReadLine(text, deadline);
    if (status != ChildProcess::ReadStatus::Line) {
      // A hung engine is ended; the next game starts a fresh one.
      const std::string how =
          status == ChildProcess::ReadStatus::Timeout
              ? "gave no bestmove within " + std::to_string(byoyomiMs_ + GraceMs) + " ms"
              : "ended";
      const std::string exit = process_->Stop();
      process_.reset();
      return {Reply::Kind::Failure, name_ + " " + how + " (" + exit + ")"};
    }
    const UsiLine line = ParseUsiLine(text);
    if (line.kind == UsiLine::Kind::Info) {
      if (line.depth > 0) depth = line.depth;
      if (!line.score.empty()) score = line.score;
    } else if (line.kind == UsiLine::Kind::BestMove) {
      if (line.move == "resign") return {Reply::Kind::Resign, "resign", score, depth};
      return {Reply::Kind::Move, line.move, score, depth};
    }
  }
}

}  // namespace fv::match
