#include "engine/search.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>

#include "engine/evaluator.h"
#include "engine/exchange.h"
#include "engine/transposition_table.h"
#include "position/material.h"
#include "shogi/movegen.h"

namespace fv::engine {
namespace {

constexpr int Infinite = MateScore + 1;

// Null move: tried from this depth on, searched this much shallower (more at depth).
constexpr int NullMoveMinDepth = 3;
constexpr int NullMoveReduction = 2;
constexpr int NullMoveDepthPerExtraPly = 4;

// Late-move reduction of quiet moves: from this depth and this move on by one
// ply, from the deeper thresholds on by two.
constexpr int LateMoveMinDepth = 3;
constexpr int LateMoveFirstReduced = 3;
constexpr int LateMoveDeepIndex = 8;
constexpr int LateMoveDeepMinDepth = 5;

// Move order keys, best first; captures rank by victim and then attacker.
constexpr int HashMoveKey = 1 << 30;
constexpr int CaptureKey = 1 << 28;
constexpr int VictimWeight = 16;
constexpr int AttackerDivisor = 16;
constexpr int CapturePromotionBonus = 4000;
constexpr int PromotionKey = (1 << 27) + 1;
constexpr int FirstKillerKey = 1 << 26;
constexpr int HistoryLimit = 1 << 24;  // history counts are halved beyond this

// Quiescence search: a capture is skipped when even winning its piece and this
// much more leaves the score at or below alpha, or when it loses material in
// the exchange on its square. A check is answered by every evasion only in
// the first plies of the quiescence search; beyond them the position stands.
constexpr int DeltaMargin = 300;
constexpr int EvasionPlies = 2;

constexpr std::uint64_t TimeCheckMask = 1023;  // the clock is read every 1024 nodes

using Clock = std::chrono::steady_clock;

// Mate scores count plies from the root; the table keeps them from the node.
int ScoreToTable(int score, int ply) {
  return score > MateBound ? score + ply : score < -MateBound ? score - ply : score;
}
int ScoreFromTable(int score, int ply) {
  return score > MateBound ? score - ply : score < -MateBound ? score + ply : score;
}

int KindValue(Piece p) { return p == NoPiece ? 0 : PieceValue(PieceCode(KindOf(p))); }

class Searcher {
 public:
  Searcher(const Board& root, const Weights& weights, const SearchLimits& limits,
           const SearchHooks& hooks, TranspositionTable* table)
      : board_(root),
        evaluator_(weights),
        limits_(limits),
        hooks_(hooks),
        table_(table ? *table : ownTable_.emplace(limits.hashMb)) {
    evaluator_.Reset(board_);
  }

  SearchResult Run();

 private:
  int Negamax(int alpha, int beta, int depth, int ply, bool pvNode, bool allowNull);
  // Score of a null-move search at a reduced depth, or -Infinite when the
  // null move is not tried here.
  int NullMove(int beta, int depth, int ply, bool inCheck);
  // Plies by which the i-th move `m` (already played) is searched shallower first.
  int LateMoveReduction(Move m, int i, int depth, int ply, bool inCheck) const;
  // Searches the moves of the node, best first, and stores the result.
  int SearchMoves(int alpha, int beta, int depth, int ply, bool pvNode, bool inCheck,
                  Move hashMove);
  // Searches the i-th move `m` (already played) by principal variation search.
  int SearchMove(Move m, int i, int alpha, int beta, int depth, int ply, bool pvNode, bool inCheck);
  void RecordCutoff(Move m, int depth, int ply);
  // Searches captures (all evasions when in check) from `ply`, `qply` plies
  // into the quiescence search.
  int Quiescence(int alpha, int beta, int ply, int qply);
  // True when the capture `m` is not worth searching: winning its piece and a
  // margin leaves the standing score at or below alpha, or the exchange on its
  // square loses material.
  bool FutileCapture(Move m, int standPat, int alpha) const;
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
  std::optional<TranspositionTable> ownTable_;  // when the caller gives none
  TranspositionTable& table_;
  SearchStats stats_;
  Clock::time_point start_ = Clock::now();
  bool mayStop_ = false;
  bool stopped_ = false;
  int depth_ = 0;     // of the iteration under way
  int selDepth_ = 0;  // deepest ply it reached
  std::array<std::array<Move, MaxPly + 1>, MaxPly + 1> pv_{};
  std::array<int, MaxPly + 2> pvLength_{};
  std::array<std::array<Move, 2>, MaxPly + 1> killers_{};
  std::array<bool, MaxPly + 1> inCheck_{};  // by ply along the current line
  std::array<std::array<int, CellCount>, 32> history_{};
};

void Searcher::Visit(int ply) {
  ++stats_.nodes;
  pvLength_[ply] = 0;
  selDepth_ = std::max(selDepth_, ply);
  if (hooks_.onNode) hooks_.onNode(board_, evaluator_.SenteTotal());
}

bool Searcher::TimeUp() {
  if (stopped_) return true;
  if ((stats_.nodes & TimeCheckMask) != 0) return false;
  bool stop = false;
  if (limits_.timeMs > 0)
    stop = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count() >=
           limits_.timeMs;
  if (hooks_.poll) stop = hooks_.poll({depth_, selDepth_, stats_.nodes, table_}) || stop;
  stopped_ = stop && mayStop_;
  return stopped_;
}

// Order keys: the hash move, then captures by victim value less a fraction of
// the attacker's, promotions, the two killers, and quiet moves by history.
void Searcher::OrderScores(const Move* moves, int count, int* scores, Move hashMove,
                           int ply) const {
  for (int i = 0; i < count; ++i) {
    const Move m = moves[i];
    if (m == hashMove)
      scores[i] = HashMoveKey;
    else if (CapturedPiece(m) != NoPiece)
      scores[i] = CaptureKey + KindValue(CapturedPiece(m)) * VictimWeight -
                  KindValue(MovedPiece(m)) / AttackerDivisor +
                  IsPromotion(m) * CapturePromotionBonus;
    else if (IsPromotion(m))
      scores[i] = PromotionKey;
    else if (m == killers_[ply][0])
      scores[i] = FirstKillerKey;
    else if (m == killers_[ply][1])
      scores[i] = FirstKillerKey - 1;
    else
      scores[i] = history_[MovedPiece(m)][ToCell(m)];
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

bool Searcher::FutileCapture(Move m, int standPat, int alpha) const {
  const Piece moved = MovedPiece(m);
  const Piece promoted = MakePiece(Sente, PromotedKind(KindOf(moved)));
  const int promotionGain = IsPromotion(m) ? KindValue(promoted) - KindValue(moved) : 0;
  if (standPat + CaptureValue(CapturedPiece(m)) + promotionGain + DeltaMargin <= alpha) return true;
  return StaticExchange(board_, m) < 0;
}

int Searcher::Quiescence(int alpha, int beta, int ply, int qply) {
  Visit(ply);
  ++stats_.quiescenceNodes;
  if (TimeUp()) return 0;
  const Side us = board_.SideToMove();
  if (ply >= MaxPly - 1) return evaluator_.Value(us);
  const bool inCheck = qply < EvasionPlies && board_.InCheck();
  inCheck_[ply] = inCheck;
  int best = -Infinite;
  int standPat = 0;
  if (!inCheck) {
    // Standing pat: the position's own evaluation is the score if nothing better is found.
    standPat = best = evaluator_.Value(us);
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
    if (!inCheck && FutileCapture(m, standPat, alpha)) continue;
    Play(m);
    const int score = -Quiescence(-beta, -alpha, ply + 1, qply + 1);
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
  if (depth <= 0) return Quiescence(alpha, beta, ply, 0);
  Visit(ply);
  if (TimeUp()) return 0;
  const bool inCheck = board_.InCheck();
  inCheck_[ply] = inCheck;
  if (ply > 0)
    if (const int distance = board_.RepetitionDistance())
      return RepetitionScore(inCheck_.data(), ply, distance);
  const Side us = board_.SideToMove();
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

  // No null move in a PV node or right after another null move.
  const int nullScore = !pvNode && allowNull ? NullMove(beta, depth, ply, inCheck) : -Infinite;
  if (stopped_) return 0;
  if (nullScore >= beta) return nullScore > MateBound ? beta : nullScore;
  return SearchMoves(alpha, beta, depth, ply, pvNode, inCheck, hashMove);
}

// Null move: if passing still holds beta at a reduced depth, a real move will too.
int Searcher::NullMove(int beta, int depth, int ply, bool inCheck) {
  if (inCheck || depth < NullMoveMinDepth || beta <= -MateBound) return -Infinite;
  if (evaluator_.Value(board_.SideToMove()) < beta) return -Infinite;
  ++stats_.nullMoveTries;
  const int reduction = NullMoveReduction + depth / NullMoveDepthPerExtraPly;
  board_.MakeNull();
  const int score = -Negamax(-beta, -beta + 1, depth - 1 - reduction, ply + 1, false, false);
  board_.UnmakeNull();
  if (!stopped_ && score >= beta) ++stats_.nullMoveCutoffs;
  return score;
}

// Late quiet moves are first searched shallower; a surprise is searched again.
int Searcher::LateMoveReduction(Move m, int i, int depth, int ply, bool inCheck) const {
  const bool quiet = CapturedPiece(m) == NoPiece && !IsPromotion(m);
  if (depth < LateMoveMinDepth || i < LateMoveFirstReduced || !quiet || inCheck) return 0;
  if (m == killers_[ply][0] || m == killers_[ply][1] || board_.InCheck()) return 0;
  return i >= LateMoveDeepIndex && depth >= LateMoveDeepMinDepth ? 2 : 1;
}

int Searcher::SearchMove(Move m, int i, int alpha, int beta, int depth, int ply, bool pvNode,
                         bool inCheck) {
  if (i == 0) return -Negamax(-beta, -alpha, depth - 1, ply + 1, pvNode, true);
  const int reduction = LateMoveReduction(m, i, depth, ply, inCheck);
  if (reduction) ++stats_.lateMoveReductions;
  int score = -Negamax(-alpha - 1, -alpha, depth - 1 - reduction, ply + 1, false, true);
  if (score > alpha && reduction) {
    ++stats_.lateMoveResearches;
    score = -Negamax(-alpha - 1, -alpha, depth - 1, ply + 1, false, true);
  }
  if (pvNode && score > alpha && score < beta)
    score = -Negamax(-beta, -alpha, depth - 1, ply + 1, true, true);
  return score;
}

// Quiet moves that cut off become killers and gain history.
void Searcher::RecordCutoff(Move m, int depth, int ply) {
  if (CapturedPiece(m) != NoPiece || IsPromotion(m)) return;
  if (killers_[ply][0] != m) killers_[ply] = {m, killers_[ply][0]};
  int& h = history_[MovedPiece(m)][ToCell(m)];
  h += depth * depth;
  if (h > HistoryLimit)
    for (auto& row : history_)
      for (int& v : row) v /= 2;
}

int Searcher::SearchMoves(int alpha, int beta, int depth, int ply, bool pvNode, bool inCheck,
                          Move hashMove) {
  std::array<Move, MaxMoves> moves;
  std::array<int, MaxMoves> scores;
  const int count = GenerateLegal(board_, moves.data());
  if (count == 0)
    return -MateScore + ply;  // no legal move: lost (a pawn-drop mate is never generated)
  OrderScores(moves.data(), count, scores.data(), hashMove, ply);

  const int alphaStart = alpha;
  int best = -Infinite;
  Move bestMove = NoMove;
  for (int i = 0; i < count; ++i) {
    PickNext(moves.data(), scores.data(), i, count);
    const Move m = moves[i];
    Play(m);
    const int score = SearchMove(m, i, alpha, beta, depth, ply, pvNode, inCheck);
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
      RecordCutoff(m, depth, ply);
      break;
    }
  }
  const Bound bound = best >= beta ? Bound::Lower : best > alphaStart ? Bound::Exact : Bound::Upper;
  table_.Store(board_.Key(), bestMove, ScoreToTable(best, ply), depth, bound);
  return best;
}

SearchResult Searcher::Run() {
  SearchResult result;
  const Side rootSide = board_.SideToMove();
  for (int depth = 1; depth <= std::max(1, limits_.maxDepth); ++depth) {
    if (depth > 1 && hooks_.mayDeepen && !hooks_.mayDeepen()) break;
    depth_ = depth;
    selDepth_ = 0;
    const int score = Negamax(-Infinite, Infinite, depth, 0, true, false);
    if (stopped_) {
      result.unfinishedDepth = depth;
      break;
    }
    Iteration it;
    it.depth = depth;
    it.score = rootSide == Sente ? score : -score;
    it.nodes = stats_.nodes;
    it.milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
    it.pv.assign(pv_[0].begin(), pv_[0].begin() + pvLength_[0]);
    it.selDepth = selDepth_;
    it.hashPermille = table_.Permille();
    result.iterations.push_back(it);
    if (hooks_.onIteration) hooks_.onIteration(it);
    mayStop_ = true;                                          // the first iteration always finishes
    if (it.pv.empty() || std::abs(score) > MateBound) break;  // no move, or a mate found
  }
  result.stats = stats_;
  result.milliseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
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

SearchResult Search(const Board& root, const Weights& weights, const SearchLimits& limits,
                    const SearchHooks& hooks, TranspositionTable* table) {
  Searcher searcher(root, weights, limits, hooks, table);
  return searcher.Run();
}

}  // namespace fv::engine
