// The static evaluation, kept up to date move by move: material plus the KKP
// and KPP weight sums of both kings' views.
//
// Every non-king piece on the board and every hand count (all fourteen, a
// count of 0 included) is one slot, carrying its KPP feature index in each
// view and its KKP feature index in its owner's view. A view's KPP sum runs
// over all pairs of slots, each slot paired with itself too.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/kpp_sum.h"
#include "engine/weights.h"
#include "eval/feature_index.h"
#include "shogi/board.h"

namespace fv::engine {

// One piece on the board or one hand count with its feature indices.
struct FeatureSlot {
  std::array<std::int16_t, 2> kpp;  // by view
  std::array<std::int16_t, 2> kkp;  // by view; -1 in the view of the other side
  std::uint8_t cell;                // board cell, 0 for a hand count
};

class Evaluator {
 public:
  explicit Evaluator(const Weights& weights) : weights_(weights) {}

  // Computes everything from scratch for `board`; forgets earlier moves.
  void Reset(const Board& board);
  // Updates for `m`, to be called with the board before `m` is made on it.
  void Make(const Board& board, Move m);
  // Returns to the state before the last Make.
  void Unmake() { stack_.pop_back(); }

  // (material x 32 + KKP sum + KPP sum) / 32, truncated toward zero, Sente's view.
  int SenteTotal() const;
  // The same from the view of `side`.
  int Value(Side side) const { return side == Sente ? SenteTotal() : -SenteTotal(); }

  int Material() const { return stack_.back().material; }
  int KkpSum() const { return stack_.back().kkpSum[0] - stack_.back().kkpSum[1]; }  // weight units
  int KppSum() const { return stack_.back().kppSum[0] - stack_.back().kppSum[1]; }  // weight units

 private:
  // Room for the feature lists to be read in whole groups.
  static constexpr int SlotCapacity =
      (MaxFeatureEntries + KppListStride - 1) / KppListStride * KppListStride;
  static constexpr std::uint8_t NoSlot = 255;

  // The slots as one feature list per view, so that the sums read them in a row.
  struct State {
    std::array<std::array<std::int16_t, SlotCapacity>, 2> kpp;  // [view][slot]
    std::array<std::array<std::int16_t, SlotCapacity>, 2> kkp;  // [view][slot]
    std::array<std::uint8_t, SlotCapacity> cell;
    int count;
    std::array<std::uint8_t, CellCount> slotOfCell;
    std::array<int, 2> kingSquare;               // board squares of Sente's and Gote's kings
    std::array<std::int32_t, 2> kppSum, kkpSum;  // by view, undivided
    std::int32_t material;
  };

  int KppKing(const State& s, int view) const {
    return view == Sente ? s.kingSquare[Sente] : 80 - s.kingSquare[Gote];
  }
  const std::int16_t* Block(const State& s, int view) const {
    return weights_.KppBlock(KppKing(s, view));
  }
  int KkpValue(const State& s, int view, int f) const;
  static void SetSlot(State& s, int x, const FeatureSlot& slot);
  void RecomputeKpp(State& s, int view) const;
  void RecomputeKkp(State& s) const;
  void Replace(State& s, int x, const FeatureSlot& slot, int views) const;
  void RemoveSlot(State& s, int x, int views) const;
  void AddSlot(State& s, const FeatureSlot& slot, int views) const;

  const Weights& weights_;
  std::vector<State> stack_;
};

}  // namespace fv::engine
