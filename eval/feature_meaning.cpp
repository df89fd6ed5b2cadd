#include "eval/feature_meaning.h"

#include <array>

#include "eval/feature_index.h"
#include "eval/weight_layout.h"

namespace fv {

namespace {

// Board kinds with bases of their own (TO, NY, NK and NG share KI's).
constexpr PieceKind BoardKinds[] = {FU, KY, KE, GI, KI, KA, HI, UM, RY};

// Whether a piece of `kind` owned by the view (or by its opponent) may stand
// on `square` as the view takes it: the view's own pieces move toward rank 1,
// as Sente's do.
constexpr bool LegalPlacement(int kind, bool own, int square) {
  return !CanNeverMove(own ? Sente : Gote, kind, square);
}

template <std::size_t N, typename Fill>
std::array<FeatureMeaning, N> BuildTable(Fill fill) {
  std::array<FeatureMeaning, N> table{};
  fill(table);
  return table;
}

const std::array<FeatureMeaning, KppFeatureCount> KppTable =
    BuildTable<KppFeatureCount>([](auto& table) {
      for (const PieceKind kind : HandKinds) {
        for (int count = 0; count <= SetPieceCounts[kind]; ++count) {
          table[KppHandIndex(Sente, Sente, kind, count)] = {true, true, std::int8_t(kind),
                                                            std::int8_t(count)};
          table[KppHandIndex(Sente, Gote, kind, count)] = {true, false, std::int8_t(kind),
                                                           std::int8_t(count)};
        }
      }
      for (const PieceKind kind : BoardKinds) {
        for (int square = 0; square < SquareCount; ++square) {
          if (LegalPlacement(kind, true, square)) {
            table[KppOwnBoardBase[kind] + square] = {false, true, std::int8_t(kind),
                                                     std::int8_t(square)};
          }
          if (LegalPlacement(kind, false, square)) {
            table[KppOpponentBoardBase[kind] + square] = {false, false, std::int8_t(kind),
                                                          std::int8_t(square)};
          }
        }
      }
    });

const std::array<FeatureMeaning, KkpFeatureCount> KkpTable = BuildTable<
    KkpFeatureCount>([](auto& table) {
  for (const PieceKind kind : HandKinds) {
    for (int count = 0; count <= SetPieceCounts[kind]; ++count) {
      table[KkpHandIndex(kind, count)] = {true, true, std::int8_t(kind), std::int8_t(count)};
    }
  }
  for (const PieceKind kind : BoardKinds) {
    for (int square = 0; square < SquareCount; ++square) {
      if (LegalPlacement(kind, true, square)) {
        table[KkpBoardBase[kind] + square] = {false, true, std::int8_t(kind), std::int8_t(square)};
      }
    }
  }
});

}  // namespace

const FeatureMeaning& KppFeatureMeaning(int index) { return KppTable.at(std::size_t(index)); }

const FeatureMeaning& KkpFeatureMeaning(int index) { return KkpTable.at(std::size_t(index)); }

}  // namespace fv
