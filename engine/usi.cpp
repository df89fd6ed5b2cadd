#include "engine/usi.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "engine/position_record.h"
#include "engine/search.h"
#include "position/input_error.h"
#include "shogi/movegen.h"
#include "shogi/notation_error.h"
#include "shogi/sfen.h"
#include "shogi/start_position.h"
#include "shogi/usi_move.h"

namespace fv::engine {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int MaxSearchDepth = 64;
constexpr auto ProgressInterval = std::chrono::milliseconds(1000);

std::int64_t MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while ((at = text.find_first_not_of(" \t\r\n", at)) != std::string_view::npos) {
    const std::size_t end = std::min(text.find_first_of(" \t\r\n", at), text.size());
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

// The text after the first word.
std::string_view Arguments(std::string_view line, std::string_view command) {
  const std::size_t at = line.find(command);
  return line.substr(at + command.size());
}

std::string Pv(const std::vector<Move>& pv) {
  std::string text;
  for (const Move m : pv) (text += ' ') += UsiMoveText(m);
  return text;
}

// "cp X" or "mate N" from the side to move; N counts plies, negative when it is mated.
std::string ScoreText(int sideToMoveScore) {
  if (sideToMoveScore > MateBound) return "mate " + std::to_string(MateScore - sideToMoveScore);
  if (sideToMoveScore < -MateBound) return "mate -" + std::to_string(MateScore + sideToMoveScore);
  return "cp " + std::to_string(sideToMoveScore);
}

std::string NodesAndTime(std::uint64_t nodes, std::int64_t milliseconds) {
  const std::uint64_t nps = nodes * 1000 / std::uint64_t(std::max<std::int64_t>(milliseconds, 1));
  return " nodes " + std::to_string(nodes) + " nps " + std::to_string(nps) + " time " +
         std::to_string(milliseconds);
}

std::string IterationInfo(const Iteration& it, int rootSide) {
  return "info depth " + std::to_string(it.depth) + " seldepth " + std::to_string(it.selDepth) +
         " score " + ScoreText(rootSide == Sente ? it.score : -it.score) +
         NodesAndTime(it.nodes, it.milliseconds) + " hashfull " + std::to_string(it.hashPermille) +
         " pv" + Pv(it.pv);
}

std::string BestMove(const SearchResult& result, Board& root) {
  std::vector<Move> pv;
  if (!result.iterations.empty()) pv = result.iterations.back().pv;
  if (pv.empty()) {
    // The search finds no line only when there is no legal move; should it
    // ever find none in another position, a legal move is still given.
    std::array<Move, MaxMoves> moves;
    if (GenerateLegal(root, moves.data()) == 0) return "bestmove resign";
    pv.push_back(moves[0]);
  }
  std::string line = "bestmove " + UsiMoveText(pv[0]);
  if (pv.size() > 1) line += " ponder " + UsiMoveText(pv[1]);
  return line;
}

// A whole number from `text`; negative clock values count as 0.
bool ReadMilliseconds(std::string_view text, std::int64_t& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  value = std::max<std::int64_t>(value, 0);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

UsiEngine::UsiEngine(std::FILE* out, WeightLoader load) : out_(out), load_(std::move(load)) {
  board_.Set(StartPosition(), Sente);
}

UsiEngine::~UsiEngine() {
  Stop();
  Join();
}

void UsiEngine::Say(const std::string& line) {
  std::lock_guard lock(outMutex_);
  std::fputs(line.c_str(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}

void UsiEngine::Identify() {
  Say("id name fvengine " FV_VERSION);
  Say("id author the fvexplain developers");
  for (const std::string& line : OptionDeclarations()) Say(line);
  Say("usiok");
}

bool UsiEngine::EnsureWeights() {
  if (weights_ && weightsPath_ == options_.evalFile) return true;
  try {
    weights_ = std::make_unique<Weights>(load_(options_.evalFile));
    weightsPath_ = options_.evalFile;
    return true;
  } catch (const InputError& e) {
    weights_.reset();
    Say("info string EvalFile " + e.file() + ": " + e.problem());
  } catch (const std::bad_alloc&) {
    weights_.reset();
    Say("info string EvalFile " + options_.evalFile + ": out of memory");
  }
  return false;
}

bool UsiEngine::EnsureTable() {
  if (table_ && tableMb_ == options_.hashMb) return true;
  try {
    table_.reset();
    table_ = std::make_unique<TranspositionTable>(std::size_t(options_.hashMb));
    tableMb_ = options_.hashMb;
    return true;
  } catch (const std::bad_alloc&) {
    Say("info string USI_Hash " + std::to_string(options_.hashMb) + ": out of memory");
  }
  return false;
}

bool UsiEngine::Handle(std::string_view line) {
  const std::vector<std::string_view> words = Words(line);
  if (words.empty()) return true;
  const std::string_view command = words[0];
  bool searching;
  {
    std::lock_guard lock(mutex_);
    searching = searching_;
  }
  if (command == "usi") {
    Identify();
  } else if (command == "isready") {
    // The weights and the table of a running search stay until it ends.
    if (!searching && EnsureWeights()) EnsureTable();
    Say("readyok");
  } else if (command == "setoption") {
    const std::string problem = SetOption(options_, Arguments(line, command));
    if (!problem.empty()) Say("info string " + problem);
  } else if (command == "usinewgame") {
    if (!searching && table_) table_->Clear();
  } else if (command == "position") {
    SetPosition(Arguments(line, command));
  } else if (command == "go") {
    if (searching)
      Say("info string go: a search is under way");
    else
      StartSearch(Arguments(line, command));
  } else if (command == "stop") {
    Stop();
  } else if (command == "ponderhit") {
    PonderHit();
  } else if (command == "gameover") {
    Stop();
    Join();
  } else if (command == "quit") {
    Stop();
    Join();
    return false;
  } else {
    Say("info string unknown command '" + std::string(command) + "'");
  }
  return true;
}

void UsiEngine::SetPosition(std::string_view arguments) {
  const std::vector<std::string_view> words = Words(arguments);
  std::size_t next = 1;
  SfenPosition start;
  try {
    if (!words.empty() && words[0] == "startpos") {
      start = ParseSfen(StartSfen);
    } else if (!words.empty() && words[0] == "sfen") {
      std::string sfen;
      for (; next < words.size() && words[next] != "moves"; ++next) (sfen += words[next]) += ' ';
      start = ParseSfen(sfen);
      CheckPlayable({start.position, start.sideToMove}, "position");
    } else {
      return Say("info string position: expected startpos or sfen; the position is unchanged");
    }
  } catch (const NotationError& e) {
    return Say(std::string("info string position: ") + e.what() + "; the position is unchanged");
  } catch (const InputError& e) {
    return Say("info string position: " + e.problem() + "; the position is unchanged");
  }
  if (next < words.size() && words[next] != "moves")
    return Say("info string position: expected moves, not '" + std::string(words[next]) +
               "'; the position is unchanged");
  board_.Set(start.position, start.sideToMove);
  // Each move is made on the board, which keeps the keys of the game for repetitions.
  for (std::size_t i = next + 1, number = 1; i < words.size(); ++i, ++number) {
    try {
      board_.Make(ParseUsiMove(board_, words[i]));
    } catch (const NotationError& e) {
      return Say("info string position: move " + std::to_string(number) + ": " + e.what() +
                 "; the position is the one before it");
    }
  }
}

void UsiEngine::StartSearch(std::string_view arguments) {
  const Clock::time_point received = Clock::now();  // the GUI's clock runs from here
  GoClock clock;
  static constexpr std::array<std::string_view, 6> ClockWords = {"btime", "wtime",   "binc",
                                                                 "winc",  "byoyomi", "movetime"};
  const std::array<std::int64_t*, 6> clockFields = {&clock.time[Sente],      &clock.time[Gote],
                                                    &clock.increment[Sente], &clock.increment[Gote],
                                                    &clock.byoyomi,          &clock.moveTime};
  SearchLimits limits;
  limits.maxDepth = options_.depth > 0 ? options_.depth : MaxSearchDepth;
  limits.timeMs = 0;  // the session keeps the time
  bool infinite = false, ponder = false;
  const std::vector<std::string_view> words = Words(arguments);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string_view word = words[i];
    const auto clockWord = std::find(ClockWords.begin(), ClockWords.end(), word);
    if (word == "infinite") {
      infinite = true;
    } else if (word == "ponder") {
      ponder = true;
    } else if (word == "mate") {
      return Say("checkmate notimplemented");
    } else if (clockWord != ClockWords.end() || word == "depth") {
      std::int64_t value = 0;
      if (i + 1 == words.size() || !ReadMilliseconds(words[++i], value)) {
        Say("info string go: " + std::string(word) + " needs a whole number; ignored");
      } else if (clockWord != ClockWords.end()) {
        *clockFields[clockWord - ClockWords.begin()] = value;
      } else if (value > 0) {
        limits.maxDepth = int(std::min<std::int64_t>(value, limits.maxDepth));
      }
    } else {
      Say("info string go: unknown word '" + std::string(word) + "' ignored");
    }
  }
  if (!EnsureWeights() || !EnsureTable()) return Say("bestmove resign");
  Join();
  {
    std::lock_guard lock(mutex_);
    searching_ = true;
    stop_ = false;
    pondering_ = ponder;
    holdAnswer_ = ponder || infinite;
    clockStart_ = received;
    plan_ = infinite ? ThinkingTime{} : PlanThinkingTime(clock, board_.SideToMove());
  }
  thread_ = std::thread(&UsiEngine::Think, this, board_, limits);
}

bool UsiEngine::ShouldStop() {
  std::lock_guard lock(mutex_);
  return stop_ || (!pondering_ && plan_.limited && MillisecondsSince(clockStart_) >= plan_.stopAt);
}

void UsiEngine::Think(Board root, SearchLimits limits) {
  const Clock::time_point start = Clock::now();
  Clock::time_point lastInfo = start;
  SearchHooks hooks;
  hooks.onIteration = [&](const Iteration& it) {
    Say(IterationInfo(it, root.SideToMove()));
    lastInfo = Clock::now();
  };
  hooks.poll = [&](const SearchProgress& progress) {
    if (Clock::now() - lastInfo >= ProgressInterval) {
      Say("info depth " + std::to_string(progress.depth) + " seldepth " +
          std::to_string(progress.selDepth) +
          NodesAndTime(progress.nodes, MillisecondsSince(start)) + " hashfull " +
          std::to_string(progress.table.Permille()));
      lastInfo = Clock::now();
    }
    return ShouldStop();
  };
  hooks.mayDeepen = [&] {
    std::lock_guard lock(mutex_);
    return !stop_ &&
           (pondering_ || !plan_.limited || MillisecondsSince(clockStart_) < plan_.deepenUntil);
  };
  std::string answer;
  try {
    answer = BestMove(Search(root, *weights_, limits, hooks, table_.get()), root);
  } catch (const std::bad_alloc&) {
    Say("info string out of memory for the search");
    answer = "bestmove resign";
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return stop_ || !holdAnswer_; });
  searching_ = false;
  Say(answer);
}

void UsiEngine::Stop() {
  std::lock_guard lock(mutex_);
  stop_ = true;
  changed_.notify_all();
}

void UsiEngine::PonderHit() {
  std::lock_guard lock(mutex_);
  if (!pondering_) return;
  pondering_ = false;
  holdAnswer_ = false;
  clockStart_ = Clock::now();
  changed_.notify_all();
}

void UsiEngine::Join() {
  if (thread_.joinable()) thread_.join();
}

void RunUsi(std::FILE* in, std::FILE* out, std::string_view firstLine) {
  UsiEngine engine(out);
  if (!firstLine.empty() && !engine.Handle(firstLine)) return;
  char* buffer = nullptr;
  std::size_t capacity = 0;
  ssize_t length;
  while ((length = getline(&buffer, &capacity, in)) >= 0)
    if (!engine.Handle(std::string_view(buffer, std::size_t(length)))) break;
  std::free(buffer);
}

bool InputOpensWithUsi(int fd, int waitMs) {
  if (isatty(fd)) return false;
  const Clock::time_point start = Clock::now();
  std::string line;
  for (char c = 0; c != '\n' && line.size() < 16;) {
    pollfd input{fd, POLLIN, 0};
    const std::int64_t left = waitMs - MillisecondsSince(start);
    if (left <= 0 || poll(&input, 1, int(left)) <= 0 || read(fd, &c, 1) != 1) return false;
    line += c;
  }
  return Words(line).size() == 1 && Words(line)[0] == "usi";
}

}  // namespace fv::engine
