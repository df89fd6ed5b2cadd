#include "eval/explanation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <tuple>

#include "eval/analysis.h"
#include "eval/pv_line.h"
#include "position/pv_check.h"
#include "shogi/start_position.h"
#include "tests/support/positions.h"
#include "tests/support/test_files.h"
#include "tests/support/weight_files.h"

namespace fv {
namespace {

using testing::SparseWeightFile;

// Kings on 76 (Sente, 59) and 4 (Gote, 51), pieces in both hands.
const Position Middlegame =
    test::PositionOf("ln1gk1snl/1r3g3/p1pppp1pp/6p2/1p7/2P1P4/PP1P1PPPP/2G4R1/LNS1KGSNL b Bbs 1");
// Kings alone on the board with a dragon and a promoted pawn, the rest in hand.
const Position ManyInHand =
    test::PositionOf("4k4/9/2+R6/9/9/5+p3/9/9/4K4 b B2GS3N2L9Pr2g3sn2l8p 1");

// A weight file with both views of `pos` filled, cut to `bytes`.
void FillViews(SparseWeightFile& file, const Position& pos, std::uint64_t bytes) {
  file.FillView(pos.kingSquare[Sente], pos.kingSquare[Gote], testing::ModestWeight);
  file.FillView(80 - pos.kingSquare[Gote], 80 - pos.kingSquare[Sente], testing::ModestWeight);
  if (::truncate(file.path().c_str(), off_t(bytes)) != 0) throw std::runtime_error("truncate");
}

std::int32_t FullTotal(const Position& pos, const WeightFile& file) {
  return DecomposeEvaluation(pos, file).total;
}

TEST(Explanation, SharesAndKkpTermsAddUpExactlyAndRanksFollowTheRanking) {
  const std::tuple<const char*, Position, std::uint64_t, RankingOrder> cases[] = {
      {"kings alone", test::TwoKings(76, 4), WeightFileBytes, RankingOrderOf(0)},
      {"full board", StartPosition(), WeightFileBytes, RankingOrderOf(1)},
      {"many in hand", ManyInHand, WeightFileBytes, RankingOrderOf(2)},
      // Ends inside the Sente view's block: rows beyond read as 0.
      {"short file", Middlegame, 2 * PackedKppIndex(76, 700, 0), RankingOrderOf(0)},
  };
  for (const auto& [name, pos, bytes, order] : cases) {
    SparseWeightFile file;
    FillViews(file, pos, bytes);
    const WeightFile weights = file.Open();
    const Explanation e = ExplainLeaf(pos, ReadExplanationWeights(pos, weights), order, 150);
    const EvaluationBreakdown& b = e.breakdown;
    EXPECT_EQ(b.total, FullTotal(pos, weights)) << name;
    std::int64_t halves = 0, kkp = 0;
    for (const PieceShare& p : e.pieces) halves += p.halfUnits;
    for (const KkpTerm& t : e.kkpTerms) kkp += t.value;
    EXPECT_EQ(std::pair(halves, kkp),
              std::pair(2 * (std::int64_t{32} * b.material + b.kkpSum + b.kppSum),
                        std::int64_t{b.kkpSum}))
        << name;
    // 14 hand slots in both lists; every board piece in the shares, all but
    // kings in the KKP terms.
    const auto onBoard = std::count_if(pos.board.begin(), pos.board.end(), [](int x) { return x; });
    EXPECT_EQ(std::pair(e.pieces.size(), e.kkpTerms.size()),
              std::pair(std::size_t(onBoard + 14), std::size_t(onBoard - 2 + 14)))
        << name;
    // The ranks name the analysis' ranked terms in its order.
    const EvaluableLeaf leaf = MakeEvaluableLeaf(pos);
    const EvaluationAnalysis analysis =
        AnalyzeEvaluation(leaf, ReadLeafWeights(leaf, weights), order, 150);
    std::vector<FeatureContribution> byRank(150);
    for (std::size_t t = 0; t < b.terms.size(); ++t) {
      if (e.ranks[t] > 0) byRank[std::size_t(e.ranks[t] - 1)] = b.terms[t];
    }
    EXPECT_EQ(byRank, analysis.ranked) << name;
  }
}

TEST(Explanation, WithoutAndHeatMapsEqualAFullDecompositionOfTheChangedPosition) {
  for (const Position& leaf : {Middlegame, ManyInHand}) {
    SparseWeightFile file;
    FillViews(file, leaf, WeightFileBytes);
    const WeightFile weights = file.Open();
    const Explanation e = ExplainLeaf(leaf, ReadExplanationWeights(leaf, weights),
                                      RankingOrder::LargestMagnitudeFirst, 150);
    for (const PieceShare& piece : e.pieces) {
      const int location = piece.location;
      const bool king = location < SquareCount && (piece.content == OU || piece.content == -OU);
      ASSERT_EQ(piece.without.has_value(), !king && piece.content != 0) << location;
      if (!piece.without) continue;
      Position less = leaf;
      if (location < SquareCount)
        less.board[location] = 0;
      else
        --less.hand[location < GoteHandLocation ? Sente : Gote]
                   [HandKinds[(location - SenteHandLocation) % 7]];
      EXPECT_EQ(*piece.without, FullTotal(less, weights)) << location;
    }
    for (const HeatMap& map : e.heatMaps) {
      if (map.totals.empty()) continue;  // a pawn in hand with a pawn on every file
      const std::size_t n = map.totals.size();
      for (const SquareTotal& at : {map.totals[0], map.totals[n / 2], map.totals[n - 1]}) {
        Position moved = leaf;
        ASSERT_EQ(moved.board[at.square], 0);
        if (map.location < SquareCount) {
          moved.board[at.square] = PieceCode(map.content);
          moved.board[map.location] = 0;
        } else {
          const Side owner = map.location < GoteHandLocation ? Sente : Gote;
          const PieceKind kind = HandKinds[(map.location - SenteHandLocation) % 7];
          --moved.hand[owner][kind];
          moved.board[at.square] = PieceCode(owner == Sente ? kind : -kind);
        }
        EXPECT_EQ(at.total, FullTotal(moved, weights)) << map.location << " to " << at.square;
      }
    }
  }
}

TEST(Explanation, HeatMapSquaresLeaveOutDeadRanksAndSecondPawns) {
  // Kings on 59 and 51, Sente's pawn on 55 and one in hand, Gote's knight on 33, a lance in hand.
  const Position pos = test::PositionOf("4k4/9/6n2/9/4P4/9/9/9/4K4 b Pl 1");
  SparseWeightFile file;
  const Explanation e = ExplainLeaf(pos, ReadExplanationWeights(pos, file.Open()),
                                    RankingOrder::LargestMagnitudeFirst, 150);
  std::map<int, std::size_t> squares;  // by the location of the piece
  for (const HeatMap& map : e.heatMaps) squares[map.location] += map.totals.size();
  // 77 empty squares less: the knight's ranks 8 and 9 (17 empty), the pawn's
  // rank 1 (8), for the pawn in hand also the rest of file 5 (6), the lance's rank 9 (8).
  EXPECT_EQ(squares, (std::map<int, std::size_t>{{SquareOf(3, 3), 77 - 17},
                                                 {SquareOf(5, 5), 77 - 8},
                                                 {SenteHandLocation + 0, 77 - 8 - 6},
                                                 {GoteHandLocation + 1, 77 - 8}}));
}

TEST(PvLine, PointsFollowThePvAndChangesCompareTheEnds) {
  const Position searched = Middlegame;
  SparseWeightFile file;
  FillViews(file, searched, WeightFileBytes);
  const WeightFile weights = file.Open();
  // +7675FU -0055KA: a pawn step and a bishop drop.
  const CheckedPv pv = CheckPv("n000.log", Sente, searched, "7675FU0055KA");
  const PvLine line = ExplainLine(pv.positions, pv.moves, weights, 10);
  ASSERT_EQ(line.points.size(), 3u);
  EXPECT_EQ(std::tie(line.points[1].move, line.points[2].move), std::tuple("+7675FU", "-0055KA"));
  const Position& leaf = pv.Leaf();  // as the PV check test holds it
  const EvaluationBreakdown first = DecomposeEvaluation(searched, weights);
  const EvaluationBreakdown last = DecomposeEvaluation(leaf, weights);
  EXPECT_EQ(std::tie(line.points[0].total, line.points[2].kppSum, line.points[2].kkpSum),
            std::tie(first.total, last.kppSum, last.kkpSum));
  ASSERT_EQ(line.changes.size(), 10u);
  // The changes account for the whole difference of the KPP sums when all are kept.
  const PvLine all = ExplainLine(pv.positions, pv.moves, weights, 1 << 20);
  std::int64_t change = 0;
  for (const TermChange& c : all.changes) change += c.after - c.before;
  EXPECT_EQ(change, last.kppSum - first.kppSum);
  EXPECT_GE(std::abs(line.changes[0].after - line.changes[0].before),
            std::abs(line.changes[9].after - line.changes[9].before));
}

}  // namespace
}  // namespace fv
