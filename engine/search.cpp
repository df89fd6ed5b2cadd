#include "engine/search.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "engine/evaluator.h"
#include "shogi/movegen.h"
#include "engine/transposition_table.h"
#include "position/material.h"

namespace fv::engine {
namespace {

constexpr int Infinite = MateScore + 1;

using Clock = std::chrono::steady_clock;

// Mate scores count plies from the root; the table keeps them from the node.
int ScoreToTable(int score, int ply) { return score > MateBound ? score + ply : score < -MateBound ? score - ply : score; }
int ScoreFromTable(int score, int ply) { return score > MateBound ? score - ply : score < -MateBound ? score + ply : score; }

int KindValue(Piece p) { return p == NoPiece ? 0 : PieceValue(PieceCode(KindOf(p))); }

class Searcher {
 public:
  Searcher(const Board& root, const Weights& weights, const SearchLimits& limits, const SearchHooks& hooks)
      : board_(root), evaluator_(weights), limits_(limits), hooks_(hooks), table_(limits.hashMb) {
    evaluator_.Reset(board_);
  }

  SearchResult Run();

 private:
  int Negamax(int alpha, int beta, int depth, int ply, bool pvNode, bool allowNull);
  int Quiescence(int alpha, int beta, int ply);
  void Visit(int ply);
  bool TimeUp();
  void Play(Move m) {
    evaluator_.Make(board_, m);
    board_.Make(m);
  }
  void Unplay(Move m) {
    board_.Unmake(m);
    evaluator_.Unmake();
  }
  void OrderScores(const Move* moves, int count, int* scores, Move hashMove, int ply) const;
  void UpdatePv(int ply, Move m) {
    pv_[ply][0] = m;
    for (int i = 0; i < pvLength_[ply + 1]; ++i) pv_[ply][i + 1] = pv_[ply + 1][i];
    pvLength_[ply] = pvLength_[ply + 1] + 1;
  }

  Board board_;
  Evaluator evaluator_;
  const SearchLimits& limits_;
  const SearchHooks& hooks_;
  TranspositionTable table_;
  SearchStats stats_;
  Clock::time_point start_ = Clock::now();
  bool mayStop_ = false;
  bool stopped_ = false;
  std::array<std::array<Move, MaxPly + 1>, MaxPly + 1> pv_{};
  std::array<int, MaxPly + 2> pvLength_{};
  std::array<std::array<Move, 2>, MaxPly + 1> killers_{};
  std::array<bool, MaxPly + 1> inCheck_{};  // by ply along the current line
  std::array<std::array<int, CellCount>, 32> history_{};
};

void Searcher::Visit(int ply) {
  ++stats_.nodes;
  pvLength_[ply] = 0;
  if (hooks_.onNode) hooks_.onNode(board_, evaluator_.SenteTotal());
}

bool Searcher::TimeUp() {
  if (stopped_) return true;
  if (!mayStop_ || limits_.timeMs <= 0 || (stats_.nodes & 1023) != 0) return false;
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
  stopped_ = elapsed >= limits_.timeMs;
  return stopped_;
}

// Order keys: the hash move, then captures by victim value less a fraction of
// the attacker's, promotions, the two killers, and quiet moves by history.
void Searcher::OrderScores(const Move* moves, int count, int* scores, Move hashMove, int ply) const {
  for (int i = 0; i < count; ++i) {
    const Move m = moves[i];
    if (m == hashMove) scores[i] = 1 << 30;
    else if (CapturedPiece(m) != NoPiece)
      scores[i] = (1 << 28) + KindValue(CapturedPiece(m)) * 16 - KindValue(MovedPiece(m)) / 16 + IsPromotion(m) * 4000;
    else if (IsPromotion(m)) scores[i] = (1 << 27) + 1;
    else if (m == killers_[ply][0]) scores[i] = 1 << 26;
    else if (m == killers_[ply][1]) scores[i] = (1 << 26) - 1;
    else scores[i] = history_[MovedPiece(m)][ToCell(m)];
  }
}

// Moves the best-keyed remaining move to position i.
void PickNext(Move* moves, int* scores, int i, int count) {
  int best = i;
  for (int j = i + 1; j < count; ++j)
    if (scores[j] > scores[best]) best = j;
  std::swap(moves[i], moves[best]);
  std::swap(scores[i], scores[best]);
}

int Searcher::Quiescence(int alpha, int beta, int ply) {
  Visit(ply);
  ++stats_.quiescenceNodes;
  if (TimeUp()) return 0;
  const int us = board_.SideToMove();
  if (ply >= MaxPly - 1) return evaluator_.Value(us);
  const bool inCheck = board_.InCheck();
  inCheck_[ply] = inCheck;
  int best = -Infinite;
  if (!inCheck) {
    // Standing pat: the position's own evaluation is the score if nothing better is found.
    best = evaluator_.Value(us);
    if (best >= beta) return best;
    alpha = std::max(alpha, best);
  }
  std::array<Move, MaxMoves> moves;
  std::array<int, MaxMoves> scores;
  const int count = GenerateLegal(board_, moves.data(), inCheck ? GenMode::All : GenMode::Captures);
  if (inCheck && count == 0) return -MateScore + ply;
  OrderScores(moves.data(), count, scores.data(), NoMove, ply);
  for (int i = 0; i < count; ++i) {
    PickNext(moves.data(), scores.data(), i, count);
    const Move m = moves[i];
    Play(m);
    const int score = -Quiescence(-beta, -alpha, ply + 1);
    Unplay(m);
    if (stopped_) return 0;
    if (score > best) {
      best = score;
      if (score > alpha) {
        alpha = score;
        UpdatePv(ply, m);
        if (alpha >= beta) break;
      }
    }
  }
  return best;
}

int Searcher::Negamax(int alpha, int beta, int depth, int ply, bool pvNode, bool allowNull) {
  if (depth <= 0) return Quiescence(alpha, beta, ply);
  Visit(ply);
  if (TimeUp()) return 0;
  const bool inCheck = board_.InCheck();
  inCheck_[ply] = inCheck;
  if (ply > 0)
    if (const int distance = board_.RepetitionDistance()) return RepetitionScore(inCheck_.data(), ply, distance);
  const int us = board_.SideToMove();
  if (ply >= MaxPly - 1) return evaluator_.Value(us);

  ++stats_.hashProbes;
  const TableEntry* entry = table_.Probe(board_.Key());
  Move hashMove = NoMove;
  if (entry) {
    ++stats_.hashHits;
    hashMove = entry->move;
    const int score = ScoreFromTable(entry->score, ply);
    if (!pvNode && entry->depth >= depth &&
        (entry->bound == Bound::Exact || (entry->bound == Bound::Lower && score >= beta) ||
         (entry->bound == Bound::Upper && score <= alpha))) {
      ++stats_.hashCutoffs;
      return score;
    }
  }

  // Null move: if passing still holds beta at a reduced depth, a real move will too.
  if (!pvNode && !inCheck && allowNull && depth >= 3 && evaluator_.Value(us) >= beta && beta > -MateBound) {
    ++stats_.nullMoveTries;
    const int reduction = 2 + depth / 4;
    board_.MakeNull();
    const int score = -Negamax(-beta, -beta + 1, depth - 1 - reduction, ply + 1, false, false);
    board_.UnmakeNull();
    if (stopped_) return 0;
    if (score >= beta) {
      ++stats_.nullMoveCutoffs;
      return score > MateBound ? beta : score;
    }
  }

  std::array<Move, MaxMoves> moves;
  std::array<int, MaxMoves> scores;
  const int count = GenerateLegal(board_, moves.data());
  if (count == 0) return -MateScore + ply;  // no legal move: lost (a pawn-drop mate is never generated)
  OrderScores(moves.data(), count, scores.data(), hashMove, ply);

  const int alphaStart = alpha;
  int best = -Infinite;
  Move bestMove = NoMove;
  for (int i = 0; i < count; ++i) {
    PickNext(moves.data(), scores.data(), i, count);
    const Move m = moves[i];
    const bool quiet = CapturedPiece(m) == NoPiece && !IsPromotion(m);
    Play(m);
    const bool givesCheck = board_.InCheck();
    int score;
    if (i == 0) {
      score = -Negamax(-beta, -alpha, depth - 1, ply + 1, pvNode, true);
    } else {
      // Late quiet moves are first searched shallower; a surprise is searched again.
      int reduction = 0;
      if (depth >= 3 && i >= 3 && quiet && !inCheck && !givesCheck && m != killers_[ply][0] && m != killers_[ply][1])
        reduction = (i >= 8 && depth >= 5) ? 2 : 1;
      if (reduction) ++stats_.lateMoveReductions;
      score = -Negamax(-alpha - 1, -alpha, depth - 1 - reduction, ply + 1, false, true);
      if (score > alpha && reduction) {
        ++stats_.lateMoveResearches;
        score = -Negamax(-alpha - 1, -alpha, depth - 1, ply + 1, false, true);
      }
      if (pvNode && score > alpha && score < beta) score = -Negamax(-beta, -alpha, depth - 1, ply + 1, true, true);
    }
    Unplay(m);
    if (stopped_) return 0;
    if (score <= best) continue;
    best = score;
    if (score <= alpha) continue;
    alpha = score;
    bestMove = m;
    if (pvNode) UpdatePv(ply, m);
    if (alpha >= beta) {
      ++stats_.betaCutoffs;
      if (i == 0) ++stats_.firstMoveCutoffs;
      if (quiet) {
        if (killers_[ply][0] != m) killers_[ply] = {m, killers_[ply][0]};
        int& h = history_[MovedPiece(m)][ToCell(m)];
        h += depth * depth;
        if (h > (1 << 24)) for (auto& row : history_) for (int& v : row) v /= 2;
      }
      break;
    }
  }
  const Bound bound = best >= beta ? Bound::Lower : best > alphaStart ? Bound::Exact : Bound::Upper;
  table_.Store(board_.Key(), bestMove, ScoreToTable(best, ply), depth, bound);
  return best;
}

SearchResult Searcher::Run() {
  SearchResult result;
  const int rootSide = board_.SideToMove();
  for (int depth = 1; depth <= std::max(1, limits_.maxDepth); ++depth) {
    const int score = Negamax(-Infinite, Infinite, depth, 0, true, false);
    if (stopped_) {
      result.unfinishedDepth = depth;
      break;
    }
    Iteration it;
    it.depth = depth;
    it.score = rootSide == Sente ? score : -score;
    it.nodes = stats_.nodes;
    it.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
    it.pv.assign(pv_[0].begin(), pv_[0].begin() + pvLength_[0]);
    result.iterations.push_back(it);
    if (hooks_.onIteration) hooks_.onIteration(it);
    mayStop_ = true;  // the first iteration always finishes
    if (it.pv.empty() || std::abs(score) > MateBound) break;  // no move, or a mate found
  }
  result.stats = stats_;
  result.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
  return result;
}

}  // namespace

int RepetitionScore(const bool* inCheckByPly, int ply, int distance) {
  if (distance > ply) return 0;  // the cycle began before the root: its checks are unknown
  bool weAreChecked = true, theyAreChecked = true;
  for (int back = 0; back < distance; ++back) {
    bool& flag = back % 2 == 0 ? weAreChecked : theyAreChecked;
    flag = flag && inCheckByPly[ply - back];
  }
  if (weAreChecked) return MateScore - ply;
  if (theyAreChecked) return -MateScore + ply;
  return 0;
}

SearchResult Search(const Board& root, const Weights& weights, const SearchLimits& limits, const SearchHooks& hooks) {
  Searcher searcher(root, weights, limits, hooks);
  return searcher.Run();
}

}  // namespace fv::engine
