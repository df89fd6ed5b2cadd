// Positions for the engine tests, set up from a list of placed pieces.
#pragma once

#include <array>
#include <initializer_list>
#include <string>

#include "shogi/board.h"
#include "engine/position_record.h"
#include "shogi/position.h"
#include "tests/support/test_files.h"

namespace fv::engine::testing {

struct Placed {
  PieceCode code;  // signed: Gote's pieces negative
  int file;
  int rank;
};

inline PositionRecord PositionWith(std::initializer_list<Placed> pieces, std::array<std::int8_t, 7> senteHand = {},
                            std::array<std::int8_t, 7> goteHand = {}, Side side = Sente) {
  PositionRecord r;
  for (const Placed& p : pieces) {
    const int sq = SquareOf(p.file, p.rank);
    r.position.board[sq] = p.code;
    if (p.code == OU) r.position.kingSquare[Sente] = std::uint8_t(sq);
    if (p.code == -OU) r.position.kingSquare[Gote] = std::uint8_t(sq);
  }
  r.position.hand = {senteHand, goteHand};
  r.sideToMove = side;
  return r;
}

// Reads a record text the way fvengine reads position.csa.
inline PositionRecord RecordOf(const std::string& text) { return ReadPositionRecord(test::TempFile(text).path()); }

inline Board BoardOf(const PositionRecord& r) {
  Board b;
  b.Set(r.position, r.sideToMove);
  return b;
}

// Middle-game positions rich in drops, promotions, checks and pins, written
// as CSA records (side to move on the last line).
inline const std::array<const char*, 5> TacticalRecords = {
    // Both sides hold many pieces; promotions available for both.
    "'\n'\n'\n"
    "P1-KY-KE * -KI * -OU * -KE-KY\n"
    "P2 *  * -GI *  * -KI-GI *  * \n"
    "P3-FU * -FU-FU-FU-FU * -FU-FU\n"
    "P4 *  *  *  *  *  * -FU *  * \n"
    "P5 * -FU *  *  *  *  * +FU * \n"
    "P6 *  * +FU *  *  *  *  *  * \n"
    "P7+FU+FU+GI+FU+FU+FU+FU * +FU\n"
    "P8 *  * +KI *  *  *  * +HI * \n"
    "P9+KY+KE * +OU * +KI+GI+KE+KY\n"
    "P+00KA\nP-00KA\n+\n",
    // Gote to move with a gold pinned by a rook and pieces to drop.
    "'\n'\n'\n"
    "P1 *  *  *  * -OU *  *  *  * \n"
    "P2 *  *  *  * -KI *  *  *  * \n"
    "P3 *  *  *  *  *  *  *  *  * \n"
    "P4 *  *  *  * +HI *  *  *  * \n"
    "P5 *  *  *  *  *  *  *  *  * \n"
    "P6 *  * -KA *  *  *  *  *  * \n"
    "P7 *  *  *  *  *  *  *  *  * \n"
    "P8 *  *  *  *  *  *  *  *  * \n"
    "P9 *  *  *  * +OU *  *  *  * \n"
    "P+00FU00GI\nP-00HI00KE00FU00FU\n-\n",
    // Sente in check from a knight, hands full of drops.
    "'\n'\n'\n"
    "P1-KY *  *  *  *  *  * -KE-OU\n"
    "P2 *  *  *  *  *  * -GI-KI-KY\n"
    "P3 *  *  * -FU *  * -FU-FU-FU\n"
    "P4 *  *  *  *  *  *  *  *  * \n"
    "P5 *  *  *  * -UM *  *  *  * \n"
    "P6 *  *  *  *  *  *  *  *  * \n"
    "P7 *  * -KE * +FU * +FU+FU+FU\n"
    "P8 *  *  *  *  *  * +GI+KI+KY\n"
    "P9 *  *  * +OU *  *  * +KE+KY\n"
    "P+00HI00KI00GI00FU00FU\nP-00HI00KI00GI00FU\n+\n",
    // Promoted pieces on both sides, lances, Gote to move.
    "'\n'\n'\n"
    "P1 *  *  *  *  *  *  * -KE-OU\n"
    "P2 * +RY *  *  *  *  * -GI-KY\n"
    "P3 *  *  *  *  *  * -FU * -FU\n"
    "P4 *  * +TO *  *  *  *  *  * \n"
    "P5 *  *  *  * -NG *  *  *  * \n"
    "P6 *  *  *  *  *  *  *  *  * \n"
    "P7 *  *  * -TO *  *  *  *  * \n"
    "P8 *  *  *  *  * +KY *  * -RY\n"
    "P9 *  *  * +OU+GI *  *  * +KA\n"
    "P+00KI00FU00FU00KE\nP-00KA00KI00KI00GI00FU00FU\n-\n",
    // Both kings exposed to rooks and promoted pawns, Gote to move in check.
    "'\n'\n'\n"
    "P1-KY * -KI * -KI * -KA * -FU\n"
    "P2 * +TO *  *  * -GI * -FU * \n"
    "P3-KE * +FU * -FU * +TO-OU * \n"
    "P4 * -GI * +KY * +HI *  *  * \n"
    "P5+KY * -FU * -KI+FU+HI+OU * \n"
    "P6 *  *  * -FU * +KI * +FU * \n"
    "P7 * +FU * +GI *  * -FU * +KY\n"
    "P8-FU+KE * +KA *  *  *  *  * \n"
    "P9+FU+KE *  *  *  * +GI+KE * \n"
    "P+00FU00FU\nP-00FU00FU\n-\n",
};

}  // namespace fv::engine::testing
