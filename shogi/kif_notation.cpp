#include "shogi/kif_notation.h"

#include <algorithm>
#include <array>
#include <optional>

#include "shogi/notation_error.h"
#include "shogi/piece_rules.h"
#include "shogi/record_text.h"
#include "shogi/start_position.h"

namespace fv {
namespace {

struct NamedKind {
  std::string_view name;
  int kind;
};

// What the writer calls each kind 1..14 in moves, and in the diagram.
constexpr std::array<std::string_view, 15> MoveNames = {
    "", "歩", "香", "桂", "銀", "金", "角", "飛", "玉", "と", "成香", "成桂", "成銀", "馬", "龍"};
constexpr std::array<std::string_view, 15> DiagramNames = {
    "・", "歩", "香", "桂", "銀", "金", "角", "飛", "玉", "と", "杏", "圭", "全", "馬", "龍"};
// The names read besides the diagram's, the two-character ones first so that
// 成香 is not read as 成 and 香.
constexpr std::array<NamedKind, 5> OtherNames = {
    {{"成香", NY}, {"成桂", NK}, {"成銀", NG}, {"王", OU}, {"竜", RY}}};

constexpr std::array<std::string_view, 10> WideDigits = {"０", "１", "２", "３", "４",
                                                         "５", "６", "７", "８", "９"};
constexpr std::array<std::string_view, 10> KanjiDigits = {"〇", "一", "二", "三", "四",
                                                          "五", "六", "七", "八", "九"};
constexpr std::string_view WideSpace = "　";

// The usual handicaps: the squares, in CSA digits, of the pieces Gote starts
// without. Gote moves first in every one but 平手.
struct Handicap {
  std::string_view name;
  std::string_view removed;
};
constexpr std::array<Handicap, 16> Handicaps = {{
    {"平手", ""},
    {"香落ち", "11"},
    {"右香落ち", "91"},
    {"角落ち", "22"},
    {"飛車落ち", "82"},
    {"飛香落ち", "8211"},
    {"二枚落ち", "8222"},
    {"三枚落ち", "822211"},
    {"四枚落ち", "82221191"},
    {"五枚落ち", "8222119181"},
    {"左五枚落ち", "8222119121"},
    {"六枚落ち", "822211918121"},
    {"左七枚落ち", "82221191812131"},
    {"右七枚落ち", "82221191812171"},
    {"八枚落ち", "8222119181213171"},
    {"十枚落ち", "82221191812131714161"},
}};

// The words that end a game's moves; the longer of two that begin alike first.
// The fouls come first: the move before one of them may break the rules.
constexpr std::size_t FoulWords = 3;
constexpr std::array<std::string_view, 20> EndWords = {
    "反則勝ち", "反則負け", "反則手", "投了",     "中断",     "千日手",   "詰み",
    "不詰",     "詰",       "持将棋", "切れ負け", "時間切れ", "入玉勝ち", "入玉宣言",
    "宣言勝ち", "不戦勝",   "不戦敗", "封じ手",   "優等局面", "劣等局面"};

// Removes `prefix` from the front of `text` if it is there.
bool Eat(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  while (Eat(text, " ") || Eat(text, "\t") || Eat(text, WideSpace)) {
  }
  while (text.ends_with(' ') || text.ends_with('\t') || text.ends_with(WideSpace))
    text.remove_suffix(text.ends_with(WideSpace) ? WideSpace.size() : 1);
  return text;
}

// A digit 1..9 written in ASCII, full width or kanji, taken from the front of
// `text`; 0 when there is none.
int EatDigit(std::string_view& text) {
  for (int d = 1; d <= 9; ++d)
    if (Eat(text, std::string(1, char('0' + d))) || Eat(text, WideDigits[d]) ||
        Eat(text, KanjiDigits[d]))
      return d;
  return 0;
}

int EatPiece(std::string_view& text) {
  for (const NamedKind& piece : OtherNames)
    if (Eat(text, piece.name)) return piece.kind;
  for (int kind = FU; kind <= RY; ++kind)
    if (Eat(text, DiagramNames[kind])) return kind;
  return 0;
}

std::string KanjiCount(int n) {
  return n < 10 ? std::string(KanjiDigits[n])
                : "十" + std::string(n > 10 ? KanjiDigits[n - 10] : "");
}

NotationError Kif(int line, const std::string& problem) {
  return NotationError(line, "KIF: " + problem);
}

class KifReader {
 public:
  GameRecord Read(std::string_view text);

 private:
  // Reads one line; false once the main line has ended.
  bool Line(std::string_view line);
  // A "key：value" line; other lines are passed over.
  void HeaderLine(std::string_view line);
  void HeaderValue(std::string_view key, std::string_view value);
  void DiagramRow(std::string_view row);
  void Hand(Side side, std::string_view value);
  void StartGame();
  // Reads a numbered move line; false at an end word.
  bool MoveLine(std::string_view line);

  int line_ = 0;
  bool sawRecord_ = false;  // a handicap, a board, the moves' heading or a move
  std::string_view handicap_ = "平手";
  int handicapLine_ = 0;
  Position diagram_{};
  int rows_ = 0;
  bool handsGiven_ = false;
  std::optional<Side> sideLine_;
  RecordBuilder game_;
  long lastNumber_ = 0;
};

GameRecord KifReader::Read(std::string_view bytes) {
  const std::string decoded = IsUtf8(bytes) ? std::string() : ShiftJisToUtf8(bytes);
  const std::string_view text = IsUtf8(bytes) ? bytes : std::string_view(decoded);
  for (const std::string_view line : SplitLines(text)) {
    ++line_;
    if (!Line(TrimBlanks(line))) break;
  }
  game_.ThrowIfHeld();
  if (!sawRecord_) throw Kif(0, "no 手合割 line, board or moves");
  if (!game_.Started()) StartGame();
  return game_.Take();
}

bool KifReader::Line(std::string_view line) {
  if (line.empty() || line[0] == '#' || line[0] == '*' || line[0] == '&') return true;
  if (line.starts_with("変化")) return false;
  if (line[0] >= '0' && line[0] <= '9') return MoveLine(line);
  game_.ThrowIfHeld();
  if (line.starts_with("まで")) return false;
  if (line.starts_with("▲") || line.starts_with("△"))
    throw Kif(line_, "moves in the short form " + Quoted(line) +
                         " are not read; only numbered move lines");
  if (line[0] == '|')
    DiagramRow(line);
  else if (line.starts_with("手数"))
    sawRecord_ = true;
  else if (line.starts_with("先手番") || line.starts_with("下手番"))
    sideLine_ = Sente;
  else if (line.starts_with("後手番") || line.starts_with("上手番"))
    sideLine_ = Gote;
  else
    HeaderLine(line);
  return true;
}

void KifReader::HeaderLine(std::string_view line) {
  std::size_t colon = line.find("：");
  std::size_t after = colon + std::string_view("：").size();
  if (colon == std::string_view::npos) colon = line.find(':'), after = colon + 1;
  if (colon != std::string_view::npos)
    HeaderValue(line.substr(0, colon), TrimBlanks(line.substr(after)));
  // Other lines (the diagram's frame and file numbers, titles) carry nothing
  // the position depends on.
}

void KifReader::HeaderValue(std::string_view key, std::string_view value) {
  if (game_.Started()) return;
  if (key == "手合割") {
    handicap_ = value;
    handicapLine_ = line_;
    sawRecord_ = true;
  } else if (key == "先手の持駒" || key == "下手の持駒" || key == "先手の持ち駒") {
    Hand(Sente, value);
  } else if (key == "後手の持駒" || key == "上手の持駒" || key == "後手の持ち駒") {
    Hand(Gote, value);
  }
}

void KifReader::DiagramRow(std::string_view row) {
  if (game_.Started()) throw Kif(line_, "a board row after the moves began");
  if (rows_ == 9) throw Kif(line_, "a tenth board row");
  sawRecord_ = true;
  std::string_view cells = row.substr(1);
  for (int column = 0; column < 9; ++column) {
    const bool gote = Eat(cells, "v");
    if (!gote && !Eat(cells, " ")) throw Kif(line_, "cannot read the board row " + Quoted(row));
    if (!gote && Eat(cells, "・")) continue;
    const int kind = EatPiece(cells);
    if (kind == 0) throw Kif(line_, "cannot read the board row " + Quoted(row));
    diagram_.board[rows_ * 9 + column] = PieceCode(gote ? -kind : kind);
  }
  if (!cells.starts_with("|"))
    throw Kif(line_, "a board row of more than nine cells: " + Quoted(row));
  ++rows_;
}

void KifReader::Hand(Side side, std::string_view value) {
  handsGiven_ = true;
  if (value == "なし") return;
  while (!(value = TrimBlanks(value)).empty()) {
    const std::string_view entry = value;
    const int kind = EatPiece(value);
    if (kind < FU || kind > HI) throw Kif(line_, "cannot read the pieces in hand " + Quoted(entry));
    int count = Eat(value, "十") ? 10 : 0;
    count += EatDigit(value);
    if (count == 0) count = 1;
    std::int8_t& held = diagram_.hand[side][PieceKind(kind)];
    if (held + count > SetPieceCounts[kind])
      throw Kif(line_, "more pieces in hand than a set holds");
    held = std::int8_t(held + count);
  }
}

void KifReader::StartGame() {
  const auto handicap = std::find_if(Handicaps.begin(), Handicaps.end(),
                                     [&](const Handicap& h) { return h.name == handicap_; });
  // Gote moves first in a handicap game, from its board diagram too.
  const Side first = handicap != Handicaps.end() && !handicap->removed.empty() ? Gote : Sente;
  if (rows_ > 0) {
    if (rows_ != 9) throw Kif(line_, "a board of " + std::to_string(rows_) + " rows, not 9");
    return game_.Start(diagram_, sideLine_.value_or(first), line_);
  }
  if (handsGiven_ && diagram_.hand != Position{}.hand)
    throw Kif(line_, "pieces in hand without a board");
  if (handicap != Handicaps.end()) {
    Position start = StartPosition();
    for (std::size_t i = 0; i < handicap->removed.size(); i += 2)
      start.board[SquareOf(handicap->removed[i] - '0', handicap->removed[i + 1] - '0')] = 0;
    return game_.Start(start, sideLine_.value_or(first), line_);
  }
  throw Kif(handicapLine_, "unknown handicap " + Quoted(handicap_) +
                               (handicap_ == "その他" ? " without a board" : ""));
}

bool KifReader::MoveLine(std::string_view line) {
  sawRecord_ = true;
  const std::size_t digits = line.find_first_not_of("0123456789");
  const long number = digits > 6 ? -1 : std::stol(std::string(line.substr(0, digits)));
  std::string_view move = TrimBlanks(line.substr(std::min(digits, line.size())));
  for (std::size_t i = 0; i < EndWords.size(); ++i) {
    if (!move.starts_with(EndWords[i])) continue;
    if (i < FoulWords) game_.ForgiveHeld();
    game_.ThrowIfHeld();
    return false;
  }
  game_.ThrowIfHeld();
  if (!game_.Started()) StartGame();
  if (lastNumber_ != 0 && number != lastNumber_ + 1)
    throw Kif(line_, "move number " + std::string(line.substr(0, digits)) + " after " +
                         std::to_string(lastNumber_));
  lastNumber_ = number;
  const std::string_view shown = move.substr(0, move.find_first_of(" \t"));
  int to = 0;
  if (Eat(move, "同")) {
    if (!Eat(move, WideSpace)) Eat(move, " ");
    to = game_.LastDestination() ? SquareOfCell(game_.LastDestination()) : -1;
    if (to < 0) throw Kif(line_, "同 without a move before it");
  } else {
    const int file = EatDigit(move);
    const int rank = EatDigit(move);
    if (file == 0 || rank == 0) throw Kif(line_, "cannot read the move " + Quoted(shown));
    to = SquareOf(file, rank);
  }
  const int kind = EatPiece(move);
  const bool promote = !Eat(move, "不成") && Eat(move, "成");
  const bool drop = Eat(move, "打");
  int from = -1;
  if (Eat(move, "(")) {
    const int file = EatDigit(move);
    const int rank = EatDigit(move);
    if (file == 0 || rank == 0 || !Eat(move, ")"))
      throw Kif(line_, "cannot read the origin of " + Quoted(shown));
    from = SquareOf(file, rank);
  }
  if (kind == 0 || (drop && from >= 0) ||
      (promote && (from < 0 || Promote(PieceCode(kind)) == kind)))
    throw Kif(line_, "cannot read the move " + Quoted(shown));
  const auto digitsOf = [](int sq) {
    return std::string{char('0' + FileOf(sq)), char('0' + RankOf(sq))};
  };
  const int after = promote ? Promote(PieceCode(kind)) : kind;
  const std::string text =
      (from < 0 ? "00" : digitsOf(from)) + digitsOf(to) + std::string(PieceNames[after - 1]);
  if (!game_.Play(text)) game_.Hold(shown, line_);
  return true;
}

}  // namespace

GameRecord ReadKif(std::string_view bytes) { return KifReader().Read(bytes); }

std::string WriteKif(const GameRecord& game) {
  std::string out = "#KIF version=2.0 encoding=UTF-8\n";
  const auto appendHand = [&](std::string_view heading, Side side) {
    out += heading;
    bool any = false;
    for (const PieceKind kind : HandKindsHighestFirst) {
      const int count = game.start.hand[side][kind];
      if (count == 0) continue;
      out += MoveNames[kind];
      if (count > 1) out += KanjiCount(count);
      out += WideSpace;
      any = true;
    }
    if (!any) out += "なし";
    out += '\n';
  };
  const Position start = StartPosition();
  if (game.startSide == Sente && game.start.board == start.board && game.start.hand == start.hand) {
    out += "手合割：平手\n";
  } else {
    appendHand("後手の持駒：", Gote);
    out += "  ９ ８ ７ ６ ５ ４ ３ ２ １\n+---------------------------+\n";
    for (int rank = 1; rank <= 9; ++rank) {
      out += '|';
      for (int column = 0; column < 9; ++column) {
        const PieceCode code = game.start.board[(rank - 1) * 9 + column];
        out += code < 0 ? 'v' : ' ';
        out += DiagramNames[code < 0 ? -code : code];
      }
      out += '|';
      out += KanjiDigits[rank];
      out += '\n';
    }
    out += "+---------------------------+\n";
    appendHand("先手の持駒：", Sente);
    out += game.startSide == Sente ? "先手番\n" : "後手番\n";
  }
  out += "手数----指手---------消費時間--\n";
  int lastTo = 0;
  for (std::size_t i = 0; i < game.moves.size(); ++i) {
    const Move m = game.moves[i];
    const std::string number = std::to_string(i + 1);
    out.append(number.size() < 4 ? 4 - number.size() : 0, ' ');
    out += number;
    out += ' ';
    if (ToCell(m) == lastTo) {
      out += "同";
      out += WideSpace;
    } else {
      out += WideDigits[FileOf(SquareOfCell(ToCell(m)))];
      out += KanjiDigits[RankOf(SquareOfCell(ToCell(m)))];
    }
    if (IsDrop(m)) {
      out += MoveNames[DropKind(m)];
      out += "打";
    } else {
      const int kind = KindOf(MovedPiece(m));
      const Side side = SideOf(MovedPiece(m));
      out += MoveNames[kind];
      if (IsPromotion(m))
        out += "成";
      else if (CanPromote(kind) &&
               (InPromotionZone(side, FromCell(m)) || InPromotionZone(side, ToCell(m))))
        out += "不成";
      const int from = SquareOfCell(FromCell(m));
      out += '(';
      out += char('0' + FileOf(from));
      out += char('0' + RankOf(from));
      out += ')';
    }
    out += '\n';
    lastTo = ToCell(m);
  }
  return out;
}

}  // namespace fv
