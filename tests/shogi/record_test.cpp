#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <tuple>

#include "shogi/csa_notation.h"
#include "shogi/kif_notation.h"
#include "shogi/notation_error.h"
#include "shogi/record_reader.h"
#include "shogi/sfen.h"
#include "tests/support/positions.h"
#include "tests/support/refusals.h"

namespace fv {
namespace {

// The SFEN of the position after `ply` moves, with the move number left at 1.
std::string SfenAfter(const GameRecord& game, std::size_t ply) {
  const Board board = BoardAfter(game, ply);
  return FormatSfen(board.ToPosition(), board.SideToMove());
}

std::string ToShiftJis(const std::string& utf8) {
  const iconv_t converter = iconv_open("CP932", "UTF-8");
  std::string out(utf8.size(), '\0');
  char* in = const_cast<char*>(utf8.data());
  char* at = out.data();
  std::size_t inLeft = utf8.size(), outLeft = out.size();
  EXPECT_NE(iconv(converter, &in, &inLeft, &at, &outLeft), std::size_t(-1));
  iconv_close(converter);
  out.resize(out.size() - outLeft);
  return out;
}

// After 1.+7776FU 2.-3334FU 3.+8822UM 4.-3122GI 5.+0045KA.
constexpr const char* AfterThreeMoves =
    "lnsgkgsnl/1r5+B1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/7R1/LNSGKGSNL w B 1";
constexpr const char* AfterFiveMoves =
    "lnsgkg1nl/1r5s1/pppppp1pp/6p2/5B3/2P6/PP1PPPPPP/7R1/LNSGKGSNL w b 1";

TEST(CsaRecord, ServerRecordWithCommentsTimesAndCommas) {
  const GameRecord game = ReadCsa(
      "\xEF\xBB\xBF'CSA encoding=UTF-8\r\nV2.2\r\nN+Sente\r\nN-Gote, Jr.\r\n$EVENT:test,1\r\n"
      "$START_TIME:2024/01/01 10:00:00\r\nPI\r\n+\r\n+7776FU\r\nT12\r\n-3334FU,T5\r\n"
      "+8822UM, T3.5,-3122GI\r\n'** 30 +0045KA\r\nT1\r\n+0045KA  \r\n%TORYO\r\n'+5958OU\r\n");
  ASSERT_EQ(game.moves.size(), 5u);
  EXPECT_EQ(SfenAfter(game, 3), AfterThreeMoves);
  EXPECT_EQ(SfenAfter(game, 5), AfterFiveMoves);
}

TEST(CsaRecord, InitialPositionsInEachForm) {
  const std::pair<const char*, const char*> cases[] = {
      {"PI82HI22KA\n-\n", "lnsgkgsnl/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1"},
      // Board lines, the second without its trailing blank, and hand lines.
      {"V2\nN+\nN-\nP1-KY-KE-GI-KI-OU-KI-GI-KE-KY\nP2 * -HI *  *  *  *  * -KA *\n"
       "P3-FU-FU-FU-FU-FU-FU-FU-FU-FU\nP4 *  *  *  *  *  *  *  *  * \n"
       "P5 *  *  *  *  *  *  *  *  *\nP6 *  *  *  *  *  *  *  *  * \n"
       "P7+FU+FU * +FU+FU+FU+FU+FU+FU\nP8 * +KA *  *  *  *  * +HI * \n"
       "P9+KY+KE+GI+KI+OU+KI+GI+KE+KY\nP+00FU\nP-\n-\n",
       "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PP1PPPPPP/1B5R1/LNSGKGSNL w P 1"},
      // Piece lines: a bishop on 55, a gold in hand, the rest in Gote's hand.
      {"P-11OU\nP+55KA\nP+00KI\nP-00AL\n+\n", "8k/9/9/9/4B4/9/9/9/9 b G2rb3g4s4n4l18p 1"},
      // Without a side-to-move line the first move's sign tells the side.
      {"PI\n-3334FU\n", "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1"},
  };
  for (const auto& [text, sfen] : cases) EXPECT_EQ(SfenAfter(ReadCsa(text), 0), sfen) << text;
}

TEST(CsaRecord, RefusalsNameTheLineAndTheReason) {
  const std::pair<const char*, const char*> cases[] = {
      {"V2.2\n+\n", "line 2: not a CSA record: no initial position"},
      {"'nothing\n", "not a CSA record: no initial position"},
      {"PI\n", "not a CSA record: no side-to-move line"},
      {"PI\n%TORYO\n", "line 2: not a CSA record: no side-to-move line before '%TORYO'"},
      {"PI\n+\nhello\n", "line 3: not a CSA record: cannot read 'hello'"},
      {"P1-KY-KE-GI-KI-OU-KI-GI-KE-KX\n",
       "line 1: not a CSA record: P1: cannot read the cell '-KX'"},
      {"P1 *  *  *  *  *  *  *  *  *  * \n", "P1 holds more than nine cells"},
      {"PI99KI\n", "PI: no piece '99KI' to remove"},
      {"P+00AL\nP-00AL\n", "line 2: not a CSA record: a second 00AL"},
      {"P+00HI00HI00HI\n", "more pieces HI than a set holds"},
      {"P+55KA\nP-55KI\n", "line 2: not a CSA record: a second piece on 55"},
      {"P-51OU\nP-59OU\n+\n", "line 3: 2 kings of Gote, a set has one"},
      {"P+11KA\nP+22KA\nP-33KA\n+\n", "line 4: 3 pieces of kind KA, a set has 2"},
      {"PI\n+\n+7776F\n", "cannot read '+7776F'"},
      {"PI\n+\n+77x6FU\n", "cannot read the move '+77x6FU'"},
      {"PI\n+\n+7775FU\n", "line 3: move 1 (+7775FU) is not legal"},
      {"PI\n+\n+7776FU\n+2726FU\n", "line 4: move 2 (+2726FU) is not legal (Gote is to move)"},
      {"PI\n+\n+7776FU,-3334FU,+7776FU\n%TORYO\n", "line 3: move 3 (+7776FU) is not legal"},
      {"PI\n+\n+7776FU\nP+00FU\n", "line 4: not a CSA record: a position line after the moves"},
      {"PI\n+\n-\n", "line 3: not a CSA record: a second side-to-move line"},
      {"PI\n+\n%TORYO!\n", "cannot read '%TORYO!'"},
  };
  test::ExpectRefusals<NotationError>(cases, ReadCsa);
}

constexpr const char* KifGame =
    "# ---- Kifu for Windows V7 V7.70 棋譜ファイル ----\n開始日時：2024/01/01 10:00:00\n"
    "手合割：平手　　\n先手：先手\n後手：後手\n手数----指手---------消費時間--\n*対局前のコメント\n"
    "   1 ７六歩(77)   ( 0:01/00:00:01)\n   2 ３四歩(33)   ( 0:02/00:00:02)\n"
    "   3 ２二角成(88) ( 0:03/00:00:04)+\n   4 同　銀(31)   ( 0:01/00:00:03)\n&しおり\n"
    "   5 ４五角打     ( 0:01/00:00:05)\n   6 投了\nまで5手で先手の勝ち\n\n"
    "変化：3手\n   3 ６六歩(67)   ( 0:00/00:00:00)\n";

TEST(KifRecord, MainLineInUtf8AndShiftJis) {
  for (const std::string& bytes : {std::string(KifGame), ToShiftJis(KifGame)}) {
    const GameRecord game = ReadKif(bytes);
    ASSERT_EQ(game.moves.size(), 5u);
    EXPECT_EQ(SfenAfter(game, 3), AfterThreeMoves);
    EXPECT_EQ(SfenAfter(game, 5), AfterFiveMoves);
  }
}

TEST(KifRecord, HandicapsLeaveOutGotesPiecesAndGoteMovesFirst) {
  const std::pair<const char*, const char*> cases[] = {
      // the name, SFEN ranks 1 and 2
      {"平手", "lnsgkgsnl/1r5b1"}, {"香落ち", "lnsgkgsn1/1r5b1"}, {"右香落ち", "1nsgkgsnl/1r5b1"},
      {"角落ち", "lnsgkgsnl/1r7"}, {"飛車落ち", "lnsgkgsnl/7b1"}, {"飛香落ち", "lnsgkgsn1/7b1"},
      {"二枚落ち", "lnsgkgsnl/9"}, {"三枚落ち", "lnsgkgsn1/9"},   {"四枚落ち", "1nsgkgsn1/9"},
      {"五枚落ち", "2sgkgsn1/9"},  {"左五枚落ち", "1nsgkgs2/9"},  {"六枚落ち", "2sgkgs2/9"},
      {"左七枚落ち", "2sgkg3/9"},  {"右七枚落ち", "3gkgs2/9"},    {"八枚落ち", "3gkg3/9"},
      {"十枚落ち", "4k4/9"},
  };
  for (const auto& [name, firstRanks] : cases) {
    const std::string sfen = SfenAfter(ReadKif(std::string("手合割：") + name + "\n"), 0);
    EXPECT_EQ(sfen, std::string(firstRanks) + "/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL " +
                        (std::string(name) == "平手" ? "b" : "w") + " - 1");
  }
}

TEST(KifRecord, BoardDiagramWithHandsAndSideToMove) {
  std::string text =
      "後手の持駒：なし\n  ９ ８ ７ ６ ５ ４ ３ ２ １\n+---------------------------+\n"
      "| ・ ・ ・ ・ ・ ・ ・v桂v玉|一\n";
  for (const char* rank : {"二", "三", "四", "五", "六", "七", "八"})
    text += std::string("| ・ ・ ・ ・ ・ ・ ・ ・ ・|") + rank + "\n";
  text +=
      "| 玉 ・ ・ ・ ・ ・ ・ ・ 馬|九\n+---------------------------+\n"
      "先手の持駒：金　歩十八\n後手番\n手数----指手---------消費時間--\n"
      "   1 １二玉(11)\n   2 ２二金打\n   3 同　玉(12)\n";
  const GameRecord game = ReadKif(text);
  EXPECT_EQ(SfenAfter(game, 0), "7nk/9/9/9/9/9/9/9/K7+B w G18P 1");
  EXPECT_EQ(SfenAfter(game, 3), "7n1/7k1/9/9/9/9/9/9/K7+B b 18Pg 1");
}

TEST(KifRecord, HandicapBoardDiagramStartsWithGote) {
  std::string text = "手合割：三枚落ち\n上手の持駒：なし\n|v香v桂v銀v金v玉v金v銀v桂 ・|一\n";
  for (const char* row : {"| ・ ・ ・ ・ ・ ・ ・ ・ ・|二", "|v歩v歩v歩v歩v歩v歩v歩v歩v歩|三",
                          "| ・ ・ ・ ・ ・ ・ ・ ・ ・|四", "| ・ ・ ・ ・ ・ ・ ・ ・ ・|五",
                          "| ・ ・ ・ ・ ・ ・ ・ ・ ・|六", "| 歩 歩 歩 歩 歩 歩 歩 歩 歩|七",
                          "| ・ 角 ・ ・ ・ ・ ・ 飛 ・|八", "| 香 桂 銀 金 玉 金 銀 桂 香|九"})
    text += std::string(row) + "\n";
  text += "下手の持駒：\n手数----指手---------消費時間--\n   1 ６二銀(71)   (00:00/00:00:00)\n";
  EXPECT_EQ(SfenAfter(ReadKif(text), 1),
            "ln1gkgsn1/3s5/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1");
}

TEST(Records, IllegalMoveBeforeAFoulEndIsNotPlayedAndTheEndEndsTheRecord) {
  EXPECT_EQ(ReadCsa("PI\n+\n+7776FU\n-3334FU\n+7776FU\nT2\n%ILLEGAL_MOVE\n").moves.size(), 2u);
  EXPECT_EQ(ReadCsa("PI\n+\n+7776FU\n-3334FU\n%ILLEGAL_MOVE\n+2726FU\n").moves.size(), 2u);
  const char* const kif =
      "手合割：平手\n   1 ７六歩(77)\n   2 ７七角成(88)\n*反則\n   3 反則勝ち\n";
  EXPECT_EQ(ReadKif(kif).moves.size(), 1u);
}

TEST(KifRecord, RefusalsNameTheLineAndTheReason) {
  const std::pair<const char*, const char*> cases[] = {
      {"先手：誰か\n", "KIF: no 手合割 line, board or moves"},
      {"手合割：百枚落ち\n", "line 1: KIF: unknown handicap '百枚落ち'"},
      {"手合割：その他\n", "line 1: KIF: unknown handicap 'その他' without a board"},
      {"手合割：平手\n   1 ７五歩(77)\n", "line 2: move 1 (７五歩(77)) is not legal"},
      {"手合割：平手\n   1 ７六歩(77)\n   2 ７七角成(88)\n   3 投了\n",
       "line 3: move 2 (７七角成(88)) is not legal"},
      {"手合割：平手\n   1 同　歩(77)\n", "line 2: KIF: 同 without a move before it"},
      {"手合割：平手\n   1 ７六歩(77)\n   3 ３四歩(33)\n", "line 3: KIF: move number 3 after 1"},
      {"   1 ７六歩\n", "line 1: move 1 (７六歩) is not legal"},
      {"   1 ７六金成(69)\n", "line 1: KIF: cannot read the move '７六金成(69)'"},
      {"   1 ７六歩(7x)\n", "line 1: KIF: cannot read the origin of '７六歩(7x)'"},
      {"   1 ７x歩(77)\n", "line 1: KIF: cannot read the move '７x歩(77)'"},
      {"▲７六歩　△３四歩\n", "line 1: KIF: moves in the short form"},
      {"| ・ ・ ・ ・ ・ ・ ・ ・ x|一\n", "line 1: KIF: cannot read the board row"},
      {"| ・ ・ ・ ・ ・ ・ ・ ・ ・ ・|一\n", "line 1: KIF: a board row of more than nine cells"},
      {"| ・ ・ ・ ・ ・ ・ ・ ・ ・|一\n   1 ７六歩(77)\n",
       "line 2: KIF: a board of 1 rows, not 9"},
      {"先手の持駒：歩十八　歩\n", "line 1: KIF: more pieces in hand than a set holds"},
      {"先手の持駒：玉\n", "line 1: KIF: cannot read the pieces in hand '玉'"},
      {"先手の持駒：歩\n手合割：平手\n", "KIF: pieces in hand without a board"},
      {"PI\n\x81\n", "line 2: a byte that is no Shift_JIS character"},
  };
  test::ExpectRefusals<NotationError>(cases, ReadKif);
}

TEST(Records, SfenToCsaToKifToSfenThroughOurOwnWriters) {
  const char* const starts[] = {
      StartSfen.data(),
      "lnsgkgsnl/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",
      "8l/1l+R2P3/p2pBG1pp/kps1p4/Nn1P2G2/P1P1P2PP/1PS6/1KSG3+r1/LN2+p3L w Sbgn3p 1",
  };
  for (const char* start : starts) {
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
      GameRecord game = ReadSfenLine(start);
      game.moves = test::RandomGame(BoardAfter(game, 0), 160, seed);
      const GameRecord fromCsa = ReadCsa(WriteCsa(game));
      const std::string kif = WriteKif(fromCsa);
      for (const GameRecord& back : {ReadKif(kif), ReadKif(ToShiftJis(kif))}) {
        ASSERT_EQ(back.moves, game.moves) << start << " seed " << seed << "\n" << kif;
        EXPECT_EQ(SfenAfter(back, 0), start);
        EXPECT_EQ(SfenAfter(back, back.moves.size()), SfenAfter(game, game.moves.size()));
      }
    }
  }
}

TEST(Records, NotationFromTheNameElseFromTheText) {
  const std::tuple<const char*, const char*, Notation> cases[] = {
      {"game.CSA", "anything", Notation::Csa},
      {"game.kif", "PI", Notation::Kif},
      {"game.kifu", "", Notation::Kif},
      {"p.sfen", "PI", Notation::Sfen},
      {"game", "'c\n\nV2.2\n", Notation::Csa},
      {"game", "PI\n+\n", Notation::Csa},
      {"game", "\n手合割：平手\n", Notation::Kif},
      {"game", StartSfen.data(), Notation::Sfen},
      {"game", "sfen 4k4/9/9/9/9/9/9/9/4K4 b - 1", Notation::Sfen},
      {"game", "startpos moves 7g7f", Notation::Sfen},
      {"game", "position startpos moves 7g7f", Notation::Sfen},
  };
  for (const auto& [name, text, notation] : cases)
    EXPECT_EQ(NotationOf(text, name), notation) << name << " " << text;
}

TEST(Records, SfenLinesWithMovesAndRefusals) {
  const GameRecord game = ReadRecord("startpos moves 7g7f 3c3d 8h2b+ 3a2b B*4e\n\n", "game.sfen");
  EXPECT_EQ(SfenAfter(game, 5), AfterFiveMoves);
  EXPECT_EQ(SfenAfter(ReadRecord(std::string("position sfen ") + AfterThreeMoves, "x"), 0),
            AfterThreeMoves);
  const auto refusal = [](const char* text) {
    return test::ThrownMessage<NotationError>([&] { ReadRecord(text, "x.sfen"); });
  };
  EXPECT_EQ(refusal("4k4/9/9/9/9/9/9/9/4K4 b - 1\n4k4/9/9/9/9/9/9/9/4K4 b - 1\n"),
            "SFEN: expected one line, not 2");
  EXPECT_EQ(refusal("startpos moves 7g7e"), "USI move: 7g7e is not legal in the position");
}

}  // namespace
}  // namespace fv
