// fvengine's USI mode: the protocol shogi GUIs use to drive an engine.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "engine/search.h"
#include "engine/time_control.h"
#include "engine/usi_options.h"
#include "engine/weights.h"
#include "shogi/board.h"

namespace fv::engine {

// Loads the weight file at a path; throws fv::InputError when it cannot.
using WeightLoader = std::function<Weights(const std::string& path)>;

// One engine session: takes command lines one by one and answers on `out`.
// A "go" searches on a thread of its own, so that "stop" and "ponderhit" are
// taken while it runs. No input ends the session but "quit": what cannot be
// used is answered with an "info string" line and otherwise ignored.
class UsiEngine {
 public:
  explicit UsiEngine(std::FILE* out, WeightLoader load = LoadWeights);
  ~UsiEngine();  // stops a search under way and waits for it
  UsiEngine(const UsiEngine&) = delete;
  UsiEngine& operator=(const UsiEngine&) = delete;

  // Handles one command line; false after "quit".
  bool Handle(std::string_view line);

 private:
  void Say(const std::string& line);
  void Identify();
  bool EnsureWeights();
  bool EnsureTable();
  void SetPosition(std::string_view arguments);
  void StartSearch(std::string_view arguments);
  void Think(Board root, SearchLimits limits);
  bool ShouldStop();
  void Stop();
  void PonderHit();
  void Join();

  std::FILE* out_;
  WeightLoader load_;
  std::mutex outMutex_;
  UsiOptions options_;
  std::unique_ptr<Weights> weights_;
  std::string weightsPath_;                    // the file weights_ came from
  std::unique_ptr<TranspositionTable> table_;  // kept from search to search
  int tableMb_ = 0;
  Board board_;

  // Shared with the search thread, under mutex_.
  std::mutex mutex_;
  std::condition_variable changed_;
  bool searching_ = false;
  bool stop_ = false;
  bool pondering_ = false;   // thinking on the opponent's time, until ponderhit
  bool holdAnswer_ = false;  // go infinite or ponder: the best move waits for stop or ponderhit
  std::chrono::steady_clock::time_point clockStart_;  // the thinking time counts from here
  ThinkingTime plan_;
  std::thread thread_;
};

// Runs a session on `in` and `out` until "quit" or the end of input;
// `firstLine`, when not empty, is taken as the first command.
void RunUsi(std::FILE* in, std::FILE* out, std::string_view firstLine = {});

// True when `fd` is not a terminal and brings the line "usi" within `waitMs`
// milliseconds: the way a GUI opens a session with a program started without
// arguments. Reads at most that first line.
bool InputOpensWithUsi(int fd, int waitMs);

}  // namespace fv::engine
