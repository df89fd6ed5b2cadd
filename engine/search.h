// Iterative-deepening principal-variation search with the engine's evaluation.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/transposition_table.h"
#include "engine/weights.h"
#include "shogi/board.h"

namespace fv::engine {

constexpr int MateScore = 100'000'000;  // beyond any evaluation the weights allow
constexpr int MateBound = MateScore - 1000;

struct SearchLimits {
  int maxDepth = 8;
  int timeMs = 0;  // 0: no limit; else the search stops and keeps the last finished iteration
  std::size_t hashMb = 16;
};

struct Iteration {
  int depth = 0;
  int score = 0;  // from Sente's view; beyond MateBound a mate
  std::uint64_t nodes = 0;
  std::int64_t milliseconds = 0;
  std::vector<Move> pv;  // from the root, through the quiescence search to the evaluated leaf
  int selDepth = 0;      // deepest ply reached, quiescence included
  int hashPermille = 0;  // share of the hash table in use, per mille
};

struct SearchStats {
  std::uint64_t nodes = 0, quiescenceNodes = 0;
  std::uint64_t nullMoveTries = 0, nullMoveCutoffs = 0;
  std::uint64_t lateMoveReductions = 0, lateMoveResearches = 0;
  std::uint64_t betaCutoffs = 0, firstMoveCutoffs = 0;
  std::uint64_t hashProbes = 0, hashHits = 0, hashCutoffs = 0;
};

struct SearchResult {
  std::vector<Iteration> iterations;  // the finished ones, depth 1 first
  SearchStats stats;
  std::int64_t milliseconds = 0;
  int unfinishedDepth = 0;  // the iteration the time limit cut short, 0 if none was
};

// Where a search stands, for a progress report.
struct SearchProgress {
  int depth;     // of the iteration under way
  int selDepth;  // deepest ply it reached so far
  std::uint64_t nodes;
  const TranspositionTable& table;
};

struct SearchHooks {
  std::function<void(const Iteration&)> onIteration;  // each finished iteration
  // Asked every 1024 nodes: true stops the search as soon as its first
  // iteration has finished; the result keeps the iterations finished before.
  std::function<bool(const SearchProgress&)> poll;
  // Asked before each iteration after the first: false starts no other.
  std::function<bool()> mayDeepen;
  // Every node visited, with the evaluator's incremental value from Sente's
  // view: lets tests check the incremental updates against a full computation.
  std::function<void(const Board&, int senteValue)> onNode;
};

// Score for the side to move of a position repeated `distance` plies after
// its previous occurrence, at `ply` from the root. `inCheckByPly[p]` tells
// whether the side to move at ply p of the current line was in check. A
// repetition is a draw, unless one side gave check with every move of the
// cycle: perpetual check loses for the checking side.
int RepetitionScore(const bool* inCheckByPly, int ply, int distance);

// Searches `root` to the limits. A `table` kept from search to search lends
// each the results of the ones before; without one the search uses a new
// table of limits.hashMb megabytes.
SearchResult Search(const Board& root, const Weights& weights, const SearchLimits& limits,
                    const SearchHooks& hooks = {}, TranspositionTable* table = nullptr);

}  // namespace fv::engine
