#include "eval/decomposition.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "eval/feature_index.h"
#include "eval/feature_meaning.h"
#include "eval/weight_layout.h"
#include "io/input_error.h"
#include "shogi/start_position.h"
#include "tests/support/positions.h"
#include "tests/support/thrown_message.h"
#include "tests/support/weight_files.h"

namespace fv {
namespace {

using testing::SparseWeightFile;

// Two kings alone: Sente's on 77 (4i), Gote's on 4 (5a). The Gote view looks
// from 80 - 4 = 76 with the other king on 80 - 77 = 3.
constexpr int SenteKing = 77;
constexpr int GoteKing = 4;

TEST(Decomposition, TwoKingsAloneByHand) {
  SparseWeightFile file;
  // KKP: the fourteen hand features with count 0 are taken, nothing else.
  file.Kkp(SenteKing, GoteKing, 0, 10);    // own FU count 0
  file.Kkp(SenteKing, GoteKing, 19, 20);   // own KY count 0
  file.Kkp(SenteKing, GoteKing, 42, -5);   // own HI count 0
  file.Kkp(SenteKing, GoteKing, 1, 1000);  // own FU count 1: not present
  file.Kkp(76, 3, 0, 7);
  file.Kkp(76, 3, 24, 3);  // own KE count 0
  // KPP: the pair (opponent FU count 0, own FU count 0) in the Sente view,
  // the diagonal of opponent HI count 0 in the Gote view.
  file.Kpp(SenteKing, 19, 0, 100);
  file.Kpp(76, 87, 87, -33);
  file.Kpp(SenteKing, 20, 0, 5000);  // opponent FU count 1: not present
  const EvaluationBreakdown result =
      testing::Decompose(test::TwoKings(SenteKing, GoteKing), file.Open());
  EXPECT_EQ(std::tuple(result.kkpSum, result.kppSum, result.material, result.total),
            std::tuple(10 + 20 - 5 - (7 + 3), 100 - (-33), 0, (15 + 133) / 32));
  ASSERT_EQ(result.terms.size(), 210u);
  // Pair order (0,0), (1,0), (1,1), ...; entry 0 is own FU (81 / 88), entry 1
  // the opponent's FU (88 / 81).
  EXPECT_EQ(result.terms[0], (FeatureContribution{0, SenteKing, 81, 81}));
  EXPECT_EQ(result.terms[1], (FeatureContribution{0, GoteKing, 88, 88}));
  EXPECT_EQ(result.terms[2], (FeatureContribution{100, SenteKing, 88, 81}));
  EXPECT_EQ(result.terms[3], (FeatureContribution{0, GoteKing, 81, 88}));
  EXPECT_EQ(result.terms[208], (FeatureContribution{0, SenteKing, 94, 94}));
  EXPECT_EQ(result.terms[209], (FeatureContribution{33, GoteKing, 87, 87}));
}

TEST(Decomposition, FeatureListOfListedPieces) {
  Position pos = test::TwoKings(76, 4);
  pos.board[30] = -FU;
  pos.board[40] = UM;
  pos.hand[Sente][KA] = 2;
  pos.board[41] = 15;  // no piece code: no entry
  const FeatureList list = BuildFeatureList(pos);
  ASSERT_EQ(list.size, 16);
  const std::tuple<int, std::int16_t, std::int16_t, std::int16_t, std::int16_t> cases[] = {
      {0, 0, 0, 81, 88},    {1, 19, 19, 88, 81},    {10, 80, 78, 86, 93},     {11, 81, 83, 93, 86},
      {13, 87, 87, 94, 87}, {14, 192, 131, 30, 30}, {15, 1030, 1111, 40, 40},
  };
  for (const auto& [entry, senteIndex, goteIndex, senteLocation, goteLocation] : cases) {
    const FeatureEntry& e = list.entries[entry];
    EXPECT_EQ(std::tuple(e.senteIndex, e.goteIndex, e.senteLocation, e.goteLocation),
              std::tuple(senteIndex, goteIndex, senteLocation, goteLocation))
        << entry;
  }
}

TEST(Decomposition, SumsAndTotalTruncateTowardZero) {
  // Sente's king on 76, Gote's on 3: the Sente view reads kkp[76][3] and
  // block 76; the Gote view's weights are all 0. Sente's pawns in hand (0 or
  // 1) select the own FU features that carry the weights.
  const std::tuple<std::int16_t, std::int16_t, int, int, std::int32_t> cases[] = {
      {-40, 0, 0, 0, -1},  // -40 / 32 is -1, not -2
      {0, -33, 0, 0, -1}, {0, -31, 0, 0, 0},  {-33, 0, 0, 0, -1},
      {31, 0, 1, 0, 87},  {-31, 0, 1, 0, 86}, {0, 32, 0, 1, -86},
  };
  for (const auto& [kkp, kpp, sentePawns, gotePawns, total] : cases) {
    SparseWeightFile file;
    file.Kkp(76, 3, sentePawns, kkp);
    file.Kpp(76, sentePawns, sentePawns, kpp);
    Position pos = test::TwoKings(76, 3);
    pos.hand[Sente][FU] = std::int8_t(sentePawns);
    pos.hand[Gote][FU] = std::int8_t(gotePawns);
    const EvaluationBreakdown result = testing::Decompose(pos, file.Open());
    EXPECT_EQ(std::tuple(result.kkpSum, result.kppSum, result.material, result.total),
              std::tuple(kkp, kpp, 87 * (sentePawns - gotePawns), total));
  }
}

TEST(Decomposition, RefusesPositionsTheWeightsCannotHold) {
  auto with = [](auto change) {
    Position p = test::TwoKings(76, 4);
    change(p);
    return p;
  };
  const std::tuple<const char*, Position, const char*> cases[] = {
      {"no sente king", with([](Position& p) { p.board[76] = 0; }),
       "Sente has no king on its king square"},
      {"gote king elsewhere", with([](Position& p) { p.kingSquare[Gote] = 5; }),
       "Gote has no king on its king square"},
      {"king square off the board", with([](Position& p) { p.kingSquare[Sente] = 81; }),
       "Sente has no king on its king square"},
      {"19 pawns", with([](Position& p) { p.hand[Sente][FU] = 19; }),
       "Sente holds 19 FU in hand; the weights cover 0 to 18"},
      {"negative count", with([](Position& p) { p.hand[Gote][HI] = -1; }),
       "Gote holds -1 HI in hand; the weights cover 0 to 2"},
      {"39 pieces", with([](Position& p) {
         for (int s = 18; s < 57; ++s) p.board[s] = FU;
       }),
       "39 pieces besides the kings on the board; a set has 38"},
  };
  for (const auto& [what, pos, problem] : cases) {
    EXPECT_EQ(test::ThrownMessage<InputError>([&] { CheckEvaluable(pos); }),
              std::string("leaf position: ") + problem)
        << what;
  }
  Position legal = StartPosition();
  for (const PieceKind kind : HandKinds)
    legal.hand[Sente][kind] = std::int8_t(SetPieceCounts[kind]);
  EXPECT_NO_THROW(CheckEvaluable(legal));
}

// Every index names one placement, and that placement's index is the index:
// together with the counts (1476 and 738 legal placements) the bases of the
// index tables neither overlap nor leave holes.
TEST(FeatureMeaning, IndicesRoundTrip) {
  for (int index = 0; index < KppFeatureCount; ++index) {
    const FeatureMeaning& f = KppFeatureMeaning(index);
    ASSERT_EQ(f.inHand ? KppHandIndex(Sente, f.own ? Sente : Gote, PieceKind(f.kind), f.place)
                       : KppBoardIndex(Sente, PieceCode(f.own ? f.kind : -f.kind), f.place),
              index);
  }
  for (int index = 0; index < KkpFeatureCount; ++index) {
    const FeatureMeaning& f = KkpFeatureMeaning(index);
    ASSERT_EQ(
        f.inHand ? KkpHandIndex(PieceKind(f.kind), f.place) : KkpBoardIndex(Sente, f.kind, f.place),
        index);
  }
}

}  // namespace
}  // namespace fv
