// The bad situations a user meets, one row each: what fvexplain says, its
// status, and that it neither hangs nor changes anything outside the working
// directory (a folder beside it holds sentinel files and is compared before
// and after). Every row also checks that no temporary file is left behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include "tests/run/example_case.h"

namespace fv::test {
namespace {

// A board rank with the given pieces by file, e.g. {{5, "-OU"}}.
std::string Rank(const std::map<int, std::string>& pieces) {
  std::string cells;
  for (int file = 9; file >= 1; --file) cells += pieces.contains(file) ? pieces.at(file) : " * ";
  return cells;
}

// A record with the given ranks (1 to 9, the others empty) and hand lines.
std::string RecordOf(const std::map<int, std::string>& ranks, const std::string& hands = "P+\nP-\n") {
  std::string text = "V2.2\nN+\nN-\n";
  for (int rank = 1; rank <= 9; ++rank) text += "P" + std::to_string(rank) + (ranks.contains(rank) ? ranks.at(rank) : Rank({})) + "\n";
  return text + hands;
}

// Two kings and a pawn: few terms, so a whole run is quick.
const std::string Tiny = RecordOf({{1, Rank({{5, "-OU"}})}, {7, Rank({{2, "+FU"}})}, {9, Rank({{5, "+OU"}})}});
const std::string TinyLog = "  8  1.+5958OU 2.-5152OU\n";

// `count` king moves to and fro, `perLine` to a line. Tagged lines start
// with "  8  " and number their moves from 1; the PV may also go on over
// untagged lines, numbered on.
constexpr const char* WalkMoves[] = {"+5958OU", "-5152OU", "+5859OU", "-5251OU"};

std::string KingWalk(int count, int perLine, bool tagEveryLine) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i % perLine == 0) text += (i ? "\n" : "") + std::string(i == 0 || tagEveryLine ? "  8  " : "     ");
    text += std::to_string(tagEveryLine ? i % perLine + 1 : i + 1) + "." + WalkMoves[i % 4] + " ";
  }
  return text + "\n";
}

void TinyRun(Workspace& w) {
  w.UseReplayEngine(Tiny, TinyLog);
  w.UseWeights({});
}

void WithLog(Workspace& w, const std::string& log) {
  w.UseReplayEngine(Tiny, log);
  w.UseWeights({});
}

void WithRecord(Workspace& w, const std::string& record) {
  w.UseReplayEngine(record, TinyLog);
  w.UseWeights({});
}

// The example position with a PV of one move.
void ExampleMove(Workspace& w, const std::string& move) {
  w.UseReplayEngine(Record, "  8  1." + move + "\n");
  w.UseWeights({});
}

void WritePicture(const Workspace& w, const std::string& path, const cv::Mat& picture) {
  cv::imwrite((w.dir() / path).string(), picture);
}

// Every path under `root` with what it is: a link's target, "dir", or the bytes.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string name = fs::relative(entry.path(), root).string();
    if (entry.is_symlink()) entries[name] = "link to " + fs::read_symlink(entry.path()).string();
    else if (entry.is_directory()) entries[name] = "dir";
    else entries[name] = ReadFile(entry.path());
  }
  return entries;
}

using SetUp = void (*)(Workspace& w, const fs::path& outside);
using Check = void (*)(const Workspace& w, const fs::path& outside);

struct Row {
  const char* name;
  SetUp setUp;
  int status;
  // The whole of standard error, or its beginning when it ends in "...".
  std::string err;
  Check check = nullptr;
  std::vector<std::string> arguments = {};
  // log/ is a link to outside/folder, whose own files the run replaces.
  bool logLinksOutside = false;
  // Why the row cannot be made real as root (skipped then).
  const char* needsNonRoot = nullptr;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

void LogUntouched(const Workspace& w, const fs::path&) {
  EXPECT_EQ(w.Read("log/stale.png"), "stale");
  EXPECT_FALSE(fs::exists(w.dir() / "log/game000.csa"));
}

// The earlier report, which the setting up wrote, and the log it shows stay.
void EarlierRunUntouched(const Workspace& w, const fs::path& outside) {
  LogUntouched(w, outside);
  EXPECT_EQ(w.Read("report.html"), "earlier");
}

void PicturesWritten(const Workspace& w, const fs::path&) {
  EXPECT_TRUE(fs::is_regular_file(w.dir() / "log/leaf.png"));
  EXPECT_TRUE(w.Read("report.html").ends_with("</BODY></HTML>"));
}

constexpr const char* Weights = "fvexplain: ./fv.bin: ";
constexpr const char* Engine = "fvexplain: ./engine: ";
constexpr const char* RecordFile = "fvexplain: ./log/game000.csa: ";
constexpr const char* SearchLogFile = "fvexplain: ./log/n000.log: ";

const Row Rows[] = {
    // fv.bin
    {"WeightsMissing", [](Workspace& w, const fs::path&) { w.UseReplayEngine(Tiny, TinyLog); }, 1,
     std::string(Weights) + "cannot open (No such file or directory)\n", LogUntouched},
    {"WeightsEmpty", [](Workspace& w, const fs::path&) { TinyRun(w), w.UseWeights({}, 0); }, 0,
     std::string(Weights) + "warning: the file has 0 bytes, expected 186268248; the weights beyond its end read as 0\n",
     PicturesWritten},
    {"WeightsShort", [](Workspace& w, const fs::path&) { TinyRun(w), w.UseWeights({}, 1001); }, 0,
     std::string(Weights) + "warning: the file has 1001 bytes, expected 186268248; the weights beyond its end read as 0\n"},
    {"WeightsLong", [](Workspace& w, const fs::path&) { TinyRun(w), w.UseWeights({}, WeightFileBytes + 3); }, 0,
     std::string(Weights) + "warning: the file has 186268251 bytes, expected 186268248; the bytes beyond are ignored\n"},
    {"WeightsDirectory", [](Workspace& w, const fs::path&) { w.UseReplayEngine(Tiny, TinyLog), fs::create_directory(w.dir() / "fv.bin"); },
     1, std::string(Weights) + "is a directory\n", LogUntouched},
    {"WeightsFifo", [](Workspace& w, const fs::path&) { w.UseReplayEngine(Tiny, TinyLog), mkfifo((w.dir() / "fv.bin").c_str(), 0644); },
     1, std::string(Weights) + "is not a regular file\n", LogUntouched},
    // log/
    {"LogMissingIsCreated", [](Workspace& w, const fs::path&) { TinyRun(w), fs::remove_all(w.dir() / "log"); }, 0, "",
     PicturesWritten},
    {"LogIsAFile", [](Workspace& w, const fs::path&) { TinyRun(w), fs::remove_all(w.dir() / "log"), w.Write("log", "file"); }, 1,
     "fvexplain: log: is not a directory\n", [](const Workspace& w, const fs::path&) { EXPECT_EQ(w.Read("log"), "file"); }},
    {"LogIsALinkToNothing",
     [](Workspace& w, const fs::path&) { TinyRun(w), fs::remove_all(w.dir() / "log"), fs::create_symlink("missing/log", w.dir() / "log"); },
     1, "fvexplain: log: is a link to a missing folder\n"},
    {"LogUnwritable", [](Workspace& w, const fs::path&) { TinyRun(w), fs::permissions(w.dir() / "log", fs::perms::owner_read | fs::perms::owner_exec); },
     1, "fvexplain: log/stale.png: cannot remove (Permission denied)\n", nullptr, {}, false,
     "root may remove files from a read-only folder"},
    {"LogKeepsSubfoldersAndLinkTargets",
     [](Workspace& w, const fs::path& outside) {
       TinyRun(w);
       fs::create_directories(w.dir() / "log/keep");
       w.Write("log/keep/note.txt", "kept");
       mkfifo((w.dir() / "log/fifo").c_str(), 0644);
       fs::create_symlink(outside / "sentinel.txt", w.dir() / "log/link-to-file");
       fs::create_symlink(outside / "folder", w.dir() / "log/link-to-folder");
       fs::create_symlink(outside / "nothing", w.dir() / "log/dangling");
     },
     0, "",
     [](const Workspace& w, const fs::path&) {
       EXPECT_EQ(w.Read("log/keep/note.txt"), "kept");
       for (const char* gone : {"log/stale.png", "log/fifo", "log/link-to-file", "log/link-to-folder", "log/dangling"})
         EXPECT_FALSE(fs::exists(fs::symlink_status(w.dir() / gone))) << gone;
     }},
    {"LogLinksToAFolderOutside",
     [](Workspace& w, const fs::path& outside) {
       TinyRun(w), fs::remove_all(w.dir() / "log"), fs::create_symlink(outside / "folder", w.dir() / "log");
     },
     0, "",
     [](const Workspace& w, const fs::path& outside) {
       EXPECT_FALSE(fs::exists(outside / "folder/old.txt"));  // the folder's own file is emptied
       EXPECT_EQ(ReadFile(outside / "folder/sub/inner.txt"), "inner");
       EXPECT_TRUE(fs::is_regular_file(w.dir() / "log/leaf.png"));
     },
     {}, true},
    // ./engine
    {"EngineMissing", [](Workspace& w, const fs::path&) { w.UseWeights({}), w.Write("report.html", "earlier"); }, 1,
     std::string(Engine) + "cannot start (No such file or directory)\n", EarlierRunUntouched},
    {"EngineLinkToNothing",
     [](Workspace& w, const fs::path&) { w.UseWeights({}), w.Write("report.html", "earlier"), fs::create_symlink("gone", w.dir() / "engine"); },
     1, std::string(Engine) + "cannot start (No such file or directory)\n", EarlierRunUntouched},
    {"EngineNotExecutable",
     [](Workspace& w, const fs::path&) { w.UseWeights({}), w.Write("report.html", "earlier"), w.Write("engine", "#!/bin/sh\n"); },
     1, std::string(Engine) + "cannot start (Permission denied)\n", EarlierRunUntouched},
    {"EngineIsADirectory",
     [](Workspace& w, const fs::path&) { w.UseWeights({}), w.Write("report.html", "earlier"), fs::create_directory(w.dir() / "engine"); },
     1, std::string(Engine) + "cannot start (Permission denied)\n", EarlierRunUntouched},
    {"EngineFailsWritingNothing", [](Workspace& w, const fs::path&) { w.UseWeights({}), w.UseEngineScript("exit 3"); }, 1,
     std::string(Engine) + "warning: ended with status 3\n" + RecordFile + "cannot open (No such file or directory)\n"},
    {"EngineKilledAfterItsLogs",
     [](Workspace& w, const fs::path&) {
       w.UseWeights({}), w.Write("game000.csa", Tiny), w.Write("n000.log", TinyLog);
       w.UseEngineScript("cp game000.csa n000.log log/\nkill -KILL $$");
     },
     0, std::string(Engine) + "warning: ended by signal 9 (Killed)\n"},
    {"EngineWritesNothing", [](Workspace& w, const fs::path&) { w.UseWeights({}), w.UseEngineScript("true"); }, 1,
     std::string(RecordFile) + "cannot open (No such file or directory)\n"},
    {"EngineWritesOnlyTheRecord", [](Workspace& w, const fs::path&) { WithLog(w, ""); }, 0,
     std::string(SearchLogFile) + "warning: cannot open (No such file or directory), the PV is empty\n", PicturesWritten},
    {"EngineWritesOnlyTheSearchLog", [](Workspace& w, const fs::path&) { WithRecord(w, ""); }, 1,
     std::string(RecordFile) + "cannot open (No such file or directory)\n"},
    {"EngineLeavesAFifo", [](Workspace& w, const fs::path&) { w.UseWeights({}), w.UseEngineScript("mkfifo log/game000.csa"); }, 1,
     std::string(RecordFile) + "is not a regular file\n"},
    // The record
    {"RecordShortLine", [](Workspace& w, const fs::path&) { WithRecord(w, "V2.2\nN+\nN-\nP1 * -OU\n"); }, 1,
     std::string(RecordFile) + "line 4: board line shorter than its nine cells\n"},
    {"RecordOneHeaderLine", [](Workspace& w, const fs::path&) { WithRecord(w, "V2.2\n" + Tiny.substr(Tiny.find("P1"))); }, 1,
     std::string(RecordFile) + "line 11: 'P+' is not the board line P8; a record has exactly three header lines, then "
                               "the board lines P1 to P9\n"},
    {"RecordBoardLineWithoutItsLastBlank",
     [](Workspace& w, const fs::path&) { WithRecord(w, std::string(Tiny).replace(Tiny.find(" * \n"), 4, " *\n")); }, 0, "",
     PicturesWritten},
    {"RecordTooFewLines", [](Workspace& w, const fs::path&) { WithRecord(w, "V2.2\n"); }, 1, std::string(RecordFile) + "only 1 ..."},
    {"RecordCrlf", [](Workspace& w, const fs::path&) {
       std::string crlf;
       for (const char c : Tiny) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
       WithRecord(w, crlf);
     }, 0, "", PicturesWritten},
    {"RecordWithoutHandLines", [](Workspace& w, const fs::path&) { WithRecord(w, Tiny.substr(0, Tiny.find("P+"))); }, 0, ""},
    {"RecordTooManyOfAKind", [](Workspace& w, const fs::path&) { WithRecord(w, RecordOf({{1, Rank({{5, "-OU"}})}, {9, Rank({{5, "+OU"}})}}, "P+00KA00KA\nP-00KA\n")); },
     1, std::string(RecordFile) + "3 pieces of kind KA, a set has 2\n"},
    {"RecordMissingKing", [](Workspace& w, const fs::path&) { WithRecord(w, RecordOf({{9, Rank({{5, "+OU"}})}})); }, 1,
     std::string(RecordFile) + "0 kings of Gote on the board, there must be exactly one\n"},
    {"RecordTwoKings", [](Workspace& w, const fs::path&) { WithRecord(w, RecordOf({{1, Rank({{5, "-OU"}})}, {9, Rank({{5, "+OU"}, {1, "+OU"}})}})); },
     1, std::string(RecordFile) + "2 kings of Sente on the board, there must be exactly one\n"},
    {"RecordRandomBytes", [](Workspace& w, const fs::path&) { WithRecord(w, std::string("\x89PNG\r\n\x1a\n\0\xff\xfe random", 19) + "\n\n\n\n\n\n\n\n\n\n\n\n"); },
     1, std::string(RecordFile) + "..."},
    // The search log
    {"SearchLogWithoutPv", [](Workspace& w, const fs::path&) { WithLog(w, "depth 1 nothing found\n"); }, 0,
     std::string(SearchLogFile) + "warning: no PV found, the PV is empty\n"},
    // The file ends inside move 2: the moves that are whole are played.
    {"PvRunsOffTheEnd", [](Workspace& w, const fs::path&) { WithLog(w, "  8  1.+5958OU 2.-51"); }, 0, "",
     [](const Workspace& w, const fs::path&) { EXPECT_NE(w.Read("report.html").find("PV=+5958OU\n<br><br>"), std::string::npos); }},
    {"StatisticsAfterAShortPv", [](Workspace& w, const fs::path&) { WithLog(w, "  8  1.+5958OU 2.-5152OU\nhashfull 4.5% time 5.1s\n"); },
     0, std::string(SearchLogFile) + "warning: line 2: move 4 (% time) is not a move; the PV ends before it\n",
     [](const Workspace& w, const fs::path&) { EXPECT_NE(w.Read("report.html").find("PV=+5958OU\n-5152OU\n<br>"), std::string::npos); }},
    {"SearchLogLineOverBufferSize", [](Workspace& w, const fs::path&) { WithLog(w, std::string(1500, 'x') + "\n" + TinyLog); }, 0,
     std::string(SearchLogFile) + "warning: line 1 is longer than 1023 characters and is read in pieces; a move may be cut "
                                  "where a piece ends\n"},
    // Moves are taken up to the fifteenth of a tagged line, here going on over untagged lines.
    {"PvOfMoreThanFifteenMoves", [](Workspace& w, const fs::path&) { WithLog(w, KingWalk(40, 12, false)); }, 0, "",
     [](const Workspace& w, const fs::path&) {
       std::string pv = "PV=";
       for (int i = 0; i < 15; ++i) pv += WalkMoves[i % 4] + std::string("\n");
       EXPECT_NE(w.Read("report.html").find(pv + "<br><br>"), std::string::npos);
     }},
    // Each tagged line adds its moves, and the last one's first move names the side to start.
    {"PvOf195MovesOverTaggedLines", [](Workspace& w, const fs::path&) { WithLog(w, KingWalk(195, 15, true)); }, 0,
     std::string(SearchLogFile) + "warning: PV longer than 1023 characters, kept its first 170 moves\n", PicturesWritten},
    {"PvMoveDigitsOutOfRange", [](Workspace& w, const fs::path&) { ExampleMove(w, "+2A24FU"); }, 1,
     std::string(SearchLogFile) + "move 1 (2A24FU): not a move: its digits must be 1 to 9 (00 for a drop)\n"},
    {"PvMoveFromAnEmptySquare", [](Workspace& w, const fs::path&) { ExampleMove(w, "+5554FU"); }, 1,
     std::string(SearchLogFile) + "move 1 (5554FU): no piece of Sente on 55\n"},
    {"PvMoveMovesTheOtherSidesPiece", [](Workspace& w, const fs::path&) { ExampleMove(w, "+2324FU"); }, 1,
     std::string(SearchLogFile) + "move 1 (2324FU): no piece of Sente on 23\n"},
    {"PvMoveOntoOwnPiece", [](Workspace& w, const fs::path&) { ExampleMove(w, "+2829HI"); }, 1,
     std::string(SearchLogFile) + "move 1 (2829HI): a piece of Sente stands on 29\n"},
    {"PvDropOntoAPiece", [](Workspace& w, const fs::path&) { ExampleMove(w, "+0025KA"); }, 1,
     std::string(SearchLogFile) + "move 1 (0025KA): drops onto the occupied square 25\n"},
    {"PvDropOfAKindNotHeld", [](Workspace& w, const fs::path&) { ExampleMove(w, "+0055HI"); }, 1,
     std::string(SearchLogFile) + "move 1 (0055HI): drops HI, which Sente does not hold\n"},
    {"PvDropOfAKing", [](Workspace& w, const fs::path&) { ExampleMove(w, "+0055OU"); }, 1,
     std::string(SearchLogFile) + "move 1 (0055OU): OU cannot be dropped\n"},
    {"PvMoveNamesAnotherPiece", [](Workspace& w, const fs::path&) { ExampleMove(w, "+2524KI"); }, 1,
     std::string(SearchLogFile) + "move 1 (2524KI): moves FU from 25 but names KI\n"},
    {"PvMoveLeavesTheKingInCheck",
     [](Workspace& w, const fs::path&) { ExampleMove(w, "+0052KA 2.-1314FU 3.+5241KA"); }, 1,
     std::string(SearchLogFile) + "move 2 (1314FU): leaves the king of Gote in check\n"},
    {"PvMoveLeavesADeadPiece",
     [](Workspace& w, const fs::path&) {
       w.UseReplayEngine(RecordOf({{1, Rank({{5, "-OU"}})}, {2, Rank({{2, "+FU"}})}, {9, Rank({{5, "+OU"}})}}), "  8  1.+2221FU\n");
       w.UseWeights({});
     },
     1, std::string(SearchLogFile) + "move 1 (2221FU): moves FU to 21 unpromoted, where it can never move\n"},
    {"PvEndsInMate",
     [](Workspace& w, const fs::path&) {
       const std::string record = RecordOf({{1, Rank({{2, "-KY"}, {1, "-OU"}})}, {2, Rank({{2, "-KA"}})},
                                            {4, Rank({{2, "+KE"}})}, {9, Rank({{5, "+OU"}})}},
                                           "P+00GI\nP-\n");
       w.UseReplayEngine(record, "  8  1.+0012GI\n");
       w.UseWeights({});
     },
     0,
     std::string(SearchLogFile) + "note: the leaf of the PV is mate (Gote to move has no legal move); "
                                  "its static evaluation does not score the mate\n",
     PicturesWritten},
    {"SearchLogRandomBytes", [](Workspace& w, const fs::path&) { WithLog(w, "\xff\x80  8  1.+99\xfe\x80ZZ 2.-\x01\n"); }, 1,
     std::string(SearchLogFile) + "move 1 (99\\xFE\\x80ZZ): not a move..."},
    {"SearchLogWithNulBytes", [](Workspace& w, const fs::path&) { WithLog(w, std::string("\0  8  1.+5958OU\n", 17)); }, 0,
     std::string(SearchLogFile) + "warning: no PV found, the PV is empty\n"},
    // Piece pictures
    {"PiecePicturesMissing", [](Workspace& w, const fs::path&) { TinyRun(w), fs::remove_all(w.dir() / "img"); }, 0,
     "fvexplain: ./img/FU.jpg: cannot open (No such file or directory); a plain tile stands in for it\n...", PicturesWritten},
    {"PiecePictureCorrupt", [](Workspace& w, const fs::path&) { TinyRun(w), w.Write("img/FU.jpg", "\xff\xd8\xff garbage"); }, 0,
     "fvexplain: ./img/FU.jpg: ...", PicturesWritten},
    {"PiecePictureTruncated", [](Workspace& w, const fs::path&) { TinyRun(w), w.Write("img/OU.jpg", w.Read("img/OU.jpg").substr(0, 300)); }, 0,
     "fvexplain: ./img/OU.jpg: ...", PicturesWritten},
    {"PiecePictureOfAnotherSize", [](Workspace& w, const fs::path&) { TinyRun(w), WritePicture(w, "img/FU.jpg", cv::Mat(200, 7, CV_8UC3, cv::Scalar(0, 90, 200))); }, 0,
     "", PicturesWritten},
    {"PiecePictureGrey", [](Workspace& w, const fs::path&) { TinyRun(w), WritePicture(w, "img/OU.jpg", cv::Mat(40, 40, CV_8UC1, cv::Scalar(128))); }, 0,
     "", PicturesWritten},
    {"PiecePictureIsADirectory", [](Workspace& w, const fs::path&) { TinyRun(w), fs::remove(w.dir() / "img/OU.jpg"), fs::create_directory(w.dir() / "img/OU.jpg"); }, 0,
     "fvexplain: ./img/OU.jpg: is a directory; a plain tile stands in for it\n", PicturesWritten},
    // report.html and the working directory
    {"ReportIsADirectory", [](Workspace& w, const fs::path&) { TinyRun(w), fs::create_directory(w.dir() / "report.html"); }, 1,
     "fvexplain: ./report.html: cannot create (Is a directory)\n", LogUntouched},
    {"ReportReadOnlyIsReplaced", [](Workspace& w, const fs::path&) {
       TinyRun(w), w.Write("report.html", "earlier"), fs::permissions(w.dir() / "report.html", fs::perms::owner_read);
     }, 0, "", PicturesWritten},
    {"ReportLinkOutsideIsReplaced", [](Workspace& w, const fs::path& outside) {
       TinyRun(w), fs::create_symlink(outside / "sentinel.txt", w.dir() / "report.html");
     }, 0, "", [](const Workspace& w, const fs::path& outside) {
       EXPECT_FALSE(fs::is_symlink(w.dir() / "report.html"));
       PicturesWritten(w, outside);
     }},
    {"EarlierReportSurvivesAFailedRun", [](Workspace& w, const fs::path&) { WithRecord(w, ""), w.Write("report.html", "earlier"); }, 1,
     std::string(RecordFile) + "cannot open (No such file or directory)\n",
     [](const Workspace& w, const fs::path&) { EXPECT_EQ(w.Read("report.html"), "earlier"); }},
    {"WorkingDirectoryReadOnly", [](Workspace& w, const fs::path&) {
       TinyRun(w), fs::permissions(w.dir(), fs::perms::owner_read | fs::perms::owner_exec);
     }, 1, "fvexplain: ./report.html: cannot create (Permission denied)\n", LogUntouched, {}, false,
     "root may write into a read-only folder"},
    // The command line
    {"ArgumentEmpty", [](Workspace& w, const fs::path&) { TinyRun(w); }, 0, "", nullptr, {""}},
    {"ArgumentHuge", [](Workspace& w, const fs::path&) { TinyRun(w); }, 0, "", nullptr, {std::string(5000, '9')}},
    {"ArgumentNegativeHuge", [](Workspace& w, const fs::path&) { TinyRun(w); }, 0, "", nullptr, {"-99999999999999999999"}},
    {"ArgumentFormatAndBytes", [](Workspace& w, const fs::path&) { TinyRun(w); }, 0, "", nullptr, {"%s%n%x\xff\xfe\x80\n"}},
    {"ArgumentsMany", [](Workspace& w, const fs::path&) { TinyRun(w); }, 0, "", nullptr, {"--help", "-h", "../x", "1"}},
    {"ArgumentLikeAnOption", [](Workspace& w, const fs::path&) { TinyRun(w); }, 0, "", nullptr, {"--help=1"}},
};

class Catalogue : public testing::TestWithParam<Row> {};

TEST_P(Catalogue, EndsAsDocumentedAndTouchesNothingOutside) {
  const Row& row = GetParam();
  if (row.needsNonRoot && geteuid() == 0) GTEST_SKIP() << row.needsNonRoot;
  Workspace workspace;
  const fs::path outside = workspace.dir().string() + "-outside";
  fs::create_directories(outside / "folder/sub");
  std::ofstream(outside / "sentinel.txt") << "sentinel";
  std::ofstream(outside / "folder/old.txt") << "old";
  std::ofstream(outside / "folder/sub/inner.txt") << "inner";
  fs::create_directories(workspace.dir() / "log");
  workspace.Write("log/stale.png", "stale");
  const auto before = Snapshot(outside);

  row.setUp(workspace, outside);
  const RunResult result = workspace.Run(row.arguments, {.seconds = 20});
  fs::permissions(workspace.dir(), fs::perms::owner_all);
  if (fs::is_directory(workspace.dir() / "log")) fs::permissions(workspace.dir() / "log", fs::perms::owner_all);

  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.status, row.status);
  if (row.err.ends_with("...")) EXPECT_TRUE(result.err.starts_with(row.err.substr(0, row.err.size() - 3))) << result.err;
  else EXPECT_EQ(result.err, row.err);
  if (row.check) row.check(workspace, outside);

  auto after = Snapshot(outside);
  auto expected = before;
  if (row.logLinksOutside) {
    // The linked folder's own files are the log's: replaced by this run's.
    std::erase_if(after, [](const auto& e) { return fs::path(e.first).parent_path() == "folder" && e.second != "dir"; });
    std::erase_if(expected, [](const auto& e) { return fs::path(e.first).parent_path() == "folder" && e.second != "dir"; });
  }
  EXPECT_EQ(after, expected);
  for (const auto& entry : fs::recursive_directory_iterator(workspace.dir()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
  fs::remove_all(outside);
}

INSTANTIATE_TEST_SUITE_P(Situations, Catalogue, testing::ValuesIn(Rows),
                         [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// The engine contract has fvexplain wait for the engine, however long it
// takes: an engine that never ends keeps it waiting (until interrupted),
// and it writes nothing meanwhile.
TEST(CatalogueEngine, NeverEndingEngineIsWaitedFor) {
  Workspace workspace;
  workspace.UseWeights({});
  workspace.UseEngineScript("sleep 30");
  const RunResult result = workspace.Run({}, {.seconds = 1});
  EXPECT_TRUE(result.timedOut);
  EXPECT_EQ(result.err, "");
  EXPECT_FALSE(fs::exists(workspace.dir() / "report.html"));
}

}  // namespace
}  // namespace fv::test
