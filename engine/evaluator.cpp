#include "engine/evaluator.h"

#include "eval/feature_index.h"
#include "position/material.h"

namespace fv::engine {
namespace {

constexpr int BothViews = 3;
constexpr int ViewBit(int view) { return 1 << view; }

// Hand counts occupy the first fourteen slots: two per kind, Sente's first.
constexpr int HandEntrySlot(Side side, PieceKind kind) { return 2 * HandSlot(kind) + side; }

FeatureSlot HandFeatures(Side owner, PieceKind kind, int count) {
  FeatureSlot slot{};
  for (const Side view : {Sente, Gote})
    slot.kpp[view] = std::int16_t(KppHandIndex(view, owner, kind, count));
  slot.kkp[owner] = std::int16_t(KkpHandIndex(kind, count));
  slot.kkp[Opponent(owner)] = -1;
  return slot;
}

// Features of a non-king piece on a board cell.
FeatureSlot BoardFeatures(Piece p, int cell) {
  const int sq = SquareOfCell(cell);
  const Side owner = SideOf(p);
  FeatureSlot slot{};
  for (const Side view : {Sente, Gote})
    slot.kpp[view] = std::int16_t(KppBoardIndex(view, ToCode(p), sq));
  slot.kkp[owner] = std::int16_t(KkpBoardIndex(owner, KindOf(p), sq));
  slot.kkp[Opponent(owner)] = -1;
  slot.cell = std::uint8_t(cell);
  return slot;
}

// Material value of one piece of `kind` as `side`'s, Sente positive.
int SidedValue(Side side, int kind) { return PieceValue(PieceCode(side == Sente ? kind : -kind)); }

}  // namespace

int Evaluator::SenteTotal() const {
  const State& s = stack_.back();
  return (s.material * WeightScale + (s.kkpSum[0] - s.kkpSum[1]) + (s.kppSum[0] - s.kppSum[1])) /
         WeightScale;
}

int Evaluator::KkpValue(const State& s, int view, int f) const {
  if (f < 0) return 0;
  const int ks = s.kingSquare[Sente];
  const int kg = s.kingSquare[Gote];
  return view == Sente ? weights_.Kkp(ks, kg, f) : weights_.Kkp(80 - kg, 80 - ks, f);
}

void Evaluator::SetSlot(State& s, int x, const FeatureSlot& slot) {
  for (int view = 0; view < 2; ++view) {
    s.kpp[view][x] = slot.kpp[view];
    s.kkp[view][x] = slot.kkp[view];
  }
  s.cell[x] = slot.cell;
}

void Evaluator::RecomputeKpp(State& s, int view) const {
  const std::int16_t* block = Block(s, view);
  const std::int16_t* features = s.kpp[view].data();
  std::int32_t sum = 0;
  for (int i = 0; i < s.count; ++i) sum += KppRowSum(block, features[i], features, i + 1);
  s.kppSum[view] = sum;
}

void Evaluator::RecomputeKkp(State& s) const {
  for (int view = 0; view < 2; ++view) {
    std::int32_t sum = 0;
    for (int i = 0; i < s.count; ++i) sum += KkpValue(s, view, s.kkp[view][i]);
    s.kkpSum[view] = sum;
  }
}

// Gives slot x new features; the sums of the views in `views` follow. The
// pairs of x with the other slots change from (before, f) to (after, f), and
// its pair with itself from (before, before) to (after, after).
void Evaluator::Replace(State& s, int x, const FeatureSlot& slot, int views) const {
  for (int view = 0; view < 2; ++view) {
    if (!(views & ViewBit(view))) continue;
    const int before = s.kpp[view][x];
    const int after = slot.kpp[view];
    const std::int16_t* block = Block(s, view);
    // The difference over all slots pairs `after` with `before` at x: swapped
    // for the pair (after, after).
    s.kppSum[view] += KppRowDifference(block, after, before, s.kpp[view].data(), s.count) -
                      block[PackedPairIndex(after, before)] + block[PackedPairIndex(after, after)];
    s.kkpSum[view] += KkpValue(s, view, slot.kkp[view]) - KkpValue(s, view, s.kkp[view][x]);
  }
  SetSlot(s, x, slot);
}

void Evaluator::RemoveSlot(State& s, int x, int views) const {
  for (int view = 0; view < 2; ++view) {
    if (!(views & ViewBit(view))) continue;
    s.kppSum[view] -= KppRowSum(Block(s, view), s.kpp[view][x], s.kpp[view].data(), s.count);
    s.kkpSum[view] -= KkpValue(s, view, s.kkp[view][x]);
  }
  s.slotOfCell[s.cell[x]] = NoSlot;
  const int last = --s.count;
  if (x != last) {
    for (int view = 0; view < 2; ++view) {
      s.kpp[view][x] = s.kpp[view][last];
      s.kkp[view][x] = s.kkp[view][last];
    }
    s.cell[x] = s.cell[last];
    s.slotOfCell[s.cell[x]] = std::uint8_t(x);
  }
}

void Evaluator::AddSlot(State& s, const FeatureSlot& slot, int views) const {
  const int x = s.count++;
  SetSlot(s, x, slot);
  s.slotOfCell[slot.cell] = std::uint8_t(x);
  for (int view = 0; view < 2; ++view) {
    if (!(views & ViewBit(view))) continue;
    s.kppSum[view] += KppRowSum(Block(s, view), slot.kpp[view], s.kpp[view].data(), s.count);
    s.kkpSum[view] += KkpValue(s, view, slot.kkp[view]);
  }
}

void Evaluator::Reset(const Board& board) {
  State s{};
  s.slotOfCell.fill(NoSlot);
  for (const Side side : {Sente, Gote}) s.kingSquare[side] = SquareOfCell(board.KingCell(side));
  for (const Side side : {Sente, Gote})
    for (const PieceKind kind : HandKinds)
      SetSlot(s, HandEntrySlot(side, kind), HandFeatures(side, kind, board.Hand(side, kind)));
  s.count = 2 * HandKindCount;
  for (int sq = 0; sq < SquareCount; ++sq) {
    const Piece p = board.At(CellOf(sq));
    if (p == NoPiece || KindOf(p) == OU) continue;
    s.slotOfCell[CellOf(sq)] = std::uint8_t(s.count);
    SetSlot(s, s.count++, BoardFeatures(p, CellOf(sq)));
  }
  RecomputeKpp(s, Sente);
  RecomputeKpp(s, Gote);
  RecomputeKkp(s);
  s.material = CountMaterial(board.ToPosition());
  stack_.clear();
  stack_.reserve(MaxPly * 2);
  stack_.push_back(s);
}

void Evaluator::Make(const Board& board, Move m) {
  stack_.push_back(stack_.back());
  State& s = stack_.back();
  const Side us = board.SideToMove();
  const int to = ToCell(m);
  if (IsDrop(m)) {
    const PieceKind kind = PieceKind(DropKind(m));
    Replace(s, HandEntrySlot(us, kind), HandFeatures(us, kind, board.Hand(us, kind) - 1),
            BothViews);
    AddSlot(s, BoardFeatures(MakePiece(us, kind), to), BothViews);
    return;
  }
  const Piece moved = MovedPiece(m);
  const Piece captured = CapturedPiece(m);
  const bool kingMove = KindOf(moved) == OU;
  // A king move changes every KPP term of its own view: that view is summed afresh.
  const int views = kingMove ? ViewBit(Opponent(us)) : BothViews;
  if (captured != NoPiece) {
    const PieceKind kind = UnpromotedKind(KindOf(captured));
    RemoveSlot(s, s.slotOfCell[to], views);
    Replace(s, HandEntrySlot(us, kind), HandFeatures(us, kind, board.Hand(us, kind) + 1), views);
    s.material += SidedValue(us, kind) - PieceValue(ToCode(captured));
  }
  if (kingMove) {
    s.kingSquare[us] = SquareOfCell(to);
    RecomputeKpp(s, us);
    RecomputeKkp(s);
    return;
  }
  const Piece after = IsPromotion(m) ? MakePiece(us, PromotedKind(KindOf(moved))) : moved;
  const int x = s.slotOfCell[FromCell(m)];
  s.slotOfCell[FromCell(m)] = NoSlot;
  s.slotOfCell[to] = std::uint8_t(x);
  Replace(s, x, BoardFeatures(after, to), BothViews);
  s.material += PieceValue(ToCode(after)) - PieceValue(ToCode(moved));
}

}  // namespace fv::engine
