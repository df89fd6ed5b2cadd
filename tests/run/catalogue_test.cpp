// The bad situations a user meets (most of those whose message a reader's
// unit test pins are left to it), one row each: what fvexplain says, its
// status, and that it neither hangs nor changes anything outside the working
// directory (a folder beside it holds sentinel files, compared before and
// after). Every row also checks that no temporary file is left behind.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/run/example_case.h"

namespace fv::test {
namespace {

// Two kings and a pawn: few terms, so a whole run is quick.
const std::string Tiny = RecordOf({{51, "-OU"}, {27, "+FU"}, {59, "+OU"}});
const std::string TinyLog = "  8  1.+5958OU 2.-5152OU\n";

// `count` king moves to and fro, 12 to a line: a tagged line going on over
// untagged lines, numbered on.
constexpr const char* WalkMoves[] = {"+5958OU", "-5152OU", "+5859OU", "-5251OU"};

std::string KingWalk(int count) {
  std::string text = "  8  ";
  for (int i = 0; i < count; ++i)
    text +=
        (i && i % 12 == 0 ? "\n     " : "") + std::to_string(i + 1) + "." + WalkMoves[i % 4] + " ";
  return text + "\n";
}

// A workspace beside the folder of sentinel files, and the run made in it.
struct Scene : Workspace {
  fs::path outside = dir().string() + "-outside";
  RunResult result;
  ~Scene() { fs::remove_all(outside); }
  fs::path At(const std::string& path) const { return dir() / path; }
};

// Every path under `root` with what it is: a link's target, "dir", or the bytes.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string name = fs::relative(entry.path(), root).string();
    entries[name] = entry.is_symlink()     ? "link to " + fs::read_symlink(entry.path()).string()
                    : entry.is_directory() ? std::string("dir")
                                           : FileText(entry.path());
  }
  return entries;
}

// Each run starts with ./engine replaying the row's record and search log
// (Tiny ones unless it says otherwise), an all-zero fv.bin, the bundled
// pictures in img/, log/stale.png and an earlier report.html, which stays
// when the run stops; then the row's shell commands change
// that, with $OUT the folder outside and `engine BODY` making ./engine a
// script of that body.
struct Row {
  const char* name;
  std::string setUp;
  int status;
  // The whole of standard error, or its beginning when it ends in "...".
  std::string err;
  void (*check)(const Scene&) = nullptr;
  std::vector<std::string> arguments = {};
  // log/ is a link to outside/folder, whose own files the run replaces.
  bool logLinksOutside = false;
  // Permissions that root would pass over: as root, the run is nobody's.
  bool asNobody = false;
  std::string record = Tiny, log = TinyLog;
};

Row Replaying(const char* name, std::string record, std::string log, int status, std::string err,
              void (*check)(const Scene&) = nullptr) {
  Row row{name, "", status, std::move(err), check};
  row.record = std::move(record), row.log = std::move(log);
  return row;
}

Row AsNobody(Row row) {
  row.asNobody = true;
  return row;
}

Row LinkingLogOutside(Row row) {
  row.logLinksOutside = true;
  return row;
}

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// The run stopped before the engine: nothing printed, log/ as it was.
void LogUntouched(const Scene& s) {
  EXPECT_EQ(s.result.out, "");
  EXPECT_EQ(s.Read("log/stale.png"), "stale");
  EXPECT_FALSE(fs::exists(s.At("log/game000.csa")));
}

// Help or version (the beginning of standard output) printed, nothing else done.
template <const char* Printed>
void OnlyPrinted(const Scene& s) {
  EXPECT_TRUE(s.result.out.starts_with(Printed)) << s.result.out;
  EXPECT_EQ(s.Read("log/stale.png") + s.Read("report.html"), "staleearlier\n");
  EXPECT_FALSE(fs::exists(s.At("ran")));
}
constexpr char Usage[] = "usage: fvexplain [ORDER]\n", Version[] = "fvexplain 0.";

void PicturesWritten(const Scene& s) {
  EXPECT_TRUE(fs::is_regular_file(s.At("log/leaf.png")));
  EXPECT_TRUE(s.Read("report.html").ends_with("</BODY></HTML>"));
}

const std::string Weights = "fvexplain: ./fv.bin: ", Engine = "fvexplain: ./engine: ";
const std::string NoEngine = Engine + "cannot start (No such file or directory)\n";
const std::string Denied = Engine + "cannot start (Permission denied)\n";
const std::string RecordFile = "fvexplain: ./log/game000.csa: ";
const std::string SearchLogFile = "fvexplain: ./log/n000.log: ";
const std::string NoRecord = RecordFile + "cannot open (No such file or directory)\n";
const std::string Tile = "; a plain tile stands in for it\n";
const std::string CopyLogs = "engine 'cp replay/game000.csa replay/n000.log log/; ";

const Row Rows[] = {
    // fv.bin
    {"WeightsMissing", "rm fv.bin", 1, Weights + "cannot open (No such file or directory)\n",
     LogUntouched},
    {"WeightsEmpty", "truncate -s 0 fv.bin", 0,
     Weights + "warning: the file has 0 bytes, expected 186268248; the weights beyond its end "
               "read as 0\n",
     PicturesWritten},
    {"WeightsDirectory", "rm fv.bin; mkdir fv.bin", 1, Weights + "is a directory\n", LogUntouched},
    {"WeightsFifo", "rm fv.bin; mkfifo fv.bin", 1, Weights + "is not a regular file\n",
     LogUntouched},
    // log/
    {"LogIsAFile", "rm -r log; echo x > log", 1, "fvexplain: log: is not a directory\n",
     [](const Scene& s) { EXPECT_EQ(s.Read("log") + s.result.out, "x\n"); }},
    {"LogIsALinkToNothing", "rm -r log; ln -s missing/log log", 1,
     "fvexplain: log: is a link to a missing folder\n"},
    AsNobody({"LogUnwritable", "chmod 500 log", 1,
              "fvexplain: log/stale.png: cannot remove (Permission denied)\n"}),
    {"LogKeepsSubfoldersAndLinkTargets",
     "mkdir log/keep; echo kept > log/keep/note.txt; mkfifo log/fifo; "
     "ln -s $OUT/sentinel.txt log/link-to-file; ln -s $OUT/folder log/link-to-folder; "
     "ln -s $OUT/nothing log/dangling",
     0, "",
     [](const Scene& s) {
       EXPECT_EQ(s.Read("log/keep/note.txt"), "kept\n");
       for (const char* gone :
            {"log/stale.png", "log/fifo", "log/link-to-file", "log/link-to-folder", "log/dangling"})
         EXPECT_FALSE(fs::exists(fs::symlink_status(s.dir() / gone))) << gone;
     }},
    LinkingLogOutside({"LogLinksToAFolderOutside", "rm -r log; ln -s $OUT/folder log", 0, "",
                       [](const Scene& s) {
                         // The folder's own file is emptied, its subfolder kept.
                         EXPECT_FALSE(fs::exists(s.outside / "folder/old.txt"));
                         EXPECT_EQ(FileText(s.outside / "folder/sub/inner.txt"), "inner");
                         EXPECT_TRUE(fs::is_regular_file(s.At("log/leaf.png")));
                       }}),
    // ./engine
    {"EngineMissing", "rm engine", 1, NoEngine, LogUntouched},
    {"EngineLinkToNothing", "rm engine; ln -s gone engine", 1, NoEngine, LogUntouched},
    {"EngineNotExecutable", "rm engine; echo '#!/bin/sh' > engine", 1, Denied, LogUntouched},
    {"EngineIsADirectory", "rm engine; mkdir engine", 1, Denied, LogUntouched},
    {"EngineFailsWritingNothing", "engine 'exit 3'", 1,
     Engine + "warning: ended with status 3\n" + NoRecord},
    {"EngineFailsAfterItsLogs", CopyLogs + "exit 3'", 0, Engine + "warning: ended with status 3\n",
     PicturesWritten},
    {"EngineKilledAfterItsLogs", CopyLogs + "kill -KILL $$'", 0,
     Engine + "warning: ended by signal 9 (Killed)\n", PicturesWritten},
    {"EngineWritesNothing", "engine true", 1, NoRecord},
    {"EngineWritesOnlyTheRecord", "rm replay/n000.log", 0,
     SearchLogFile + "warning: cannot open (No such file or directory), the PV is empty\n",
     PicturesWritten},
    {"EngineWritesOnlyTheSearchLog", "rm replay/game000.csa", 1, NoRecord},
    {"EngineLeavesAFifo", "engine 'mkfifo log/game000.csa'", 1,
     RecordFile + "is not a regular file\n"},
    // The record
    {"RecordCrlf", "sed -i 's/$/\\r/' replay/game000.csa", 0, "", PicturesWritten},
    Replaying("RecordWithoutHandLines", Tiny.substr(0, Tiny.find("P+")), TinyLog, 0, ""),
    Replaying("RecordRandomBytes",
              std::string("\x89PNG\r\n\x1a\n\0\xff\xfe random", 19) + std::string(12, '\n'),
              TinyLog, 1, RecordFile + "..."),
    // The search log: the file ends inside move 2: the moves that are whole are played.
    Replaying("PvRunsOffTheEnd", Tiny, "  8  1.+5958OU 2.-51", 0, "",
              [](const Scene& s) {
                EXPECT_NE(s.Read("report.html").find("PV=+5958OU\n<br><br>"), std::string::npos);
              }),
    // Moves are taken up to the fifteenth of a tagged line, here going on over untagged lines.
    Replaying("PvOfMoreThanFifteenMoves", Tiny, KingWalk(40), 0, "",
              [](const Scene& s) {
                std::string pv = "PV=";
                for (int i = 0; i < 15; ++i) pv += WalkMoves[i % 4] + std::string("\n");
                EXPECT_NE(s.Read("report.html").find(pv + "<br><br>"), std::string::npos);
              }),
    // The PV check's refusals, each a unit test of its own, end the run alike.
    Replaying("PvMoveOntoOwnPiece", Record, "  8  1.+2829HI\n", 1,
              SearchLogFile + "move 1 (2829HI): a piece of Sente stands on 29\n"),
    Replaying(
        "PvEndsInMate",
        RecordOf({{21, "-KY"}, {11, "-OU"}, {22, "-KA"}, {24, "+KE"}, {59, "+OU"}}, "P+00GI\nP-\n"),
        "  8  1.+0012GI\n", 0,
        SearchLogFile + "note: the leaf of the PV is mate (Gote to move has no legal move); "
                        "its static evaluation does not score the mate\n",
        PicturesWritten),
    Replaying("SearchLogRandomBytes", Tiny, "\xff\x80  8  1.+99\xfe\x80ZZ 2.-\x01\n", 1,
              SearchLogFile + "move 1 (99\\xFE\\x80ZZ): not a move..."),
    Replaying("SearchLogWithNulBytes", Tiny, std::string("\0  8  1.+5958OU\n", 17), 0,
              SearchLogFile + "warning: no PV found, the PV is empty\n"),
    // Piece pictures
    {"PiecePicturesMissing", "rm -r img", 0,
     "fvexplain: ./img/FU.jpg: cannot open (No such file or directory)" + Tile + "...",
     PicturesWritten},
    {"PiecePictureIsADirectory", "rm img/OU.jpg; mkdir img/OU.jpg", 0,
     "fvexplain: ./img/OU.jpg: is a directory" + Tile, PicturesWritten},
    // report.html and the working directory
    {"ReportIsADirectory", "rm report.html; mkdir report.html", 1,
     "fvexplain: ./report.html: cannot create (Is a directory)\n", LogUntouched},
    {"ReportReadOnlyIsReplaced", "chmod 400 report.html", 0, "", PicturesWritten},
    {"ReportLinkOutsideIsReplaced", "ln -sf $OUT/sentinel.txt report.html", 0, "",
     [](const Scene& s) {
       EXPECT_FALSE(fs::is_symlink(s.At("report.html")));
       PicturesWritten(s);
     }},
    AsNobody({"WorkingDirectoryReadOnly", "chmod 500 .", 1,
              "fvexplain: ./report.html: cannot create (Permission denied)\n", LogUntouched}),
    // The command line
    {"Help", "engine 'touch ran'", 0, "", OnlyPrinted<Usage>, {"-h"}},
    {"Version", "engine 'touch ran'", 0, "", OnlyPrinted<Version>, {"--version"}},
    {"ArgumentHuge", "", 0, "", nullptr, {std::string(5000, '9')}},
    {"ArgumentNegativeHuge", "", 0, "", nullptr, {"-99999999999999999999"}},
    {"ArgumentFormatAndBytes", "", 0, "", nullptr, {"%s%n%x\xff\xfe\x80\n"}},
    {"ArgumentsMany", "", 0, "", nullptr, {"--help", "-h", "../x", "1"}},
};

class Catalogue : public ::testing::TestWithParam<Row> {};

TEST_P(Catalogue, EndsAsDocumentedAndTouchesNothingOutside) {
  const Row& row = GetParam();
  Scene scene;
  fs::create_directories(scene.outside / "folder/sub");
  std::ofstream(scene.outside / "sentinel.txt") << "sentinel";
  std::ofstream(scene.outside / "folder/old.txt") << "old";
  std::ofstream(scene.outside / "folder/sub/inner.txt") << "inner";
  fs::create_directories(scene.At("log"));
  scene.Write("log/stale.png", "stale");
  scene.Write("report.html", "earlier\n");
  const auto before = Snapshot(scene.outside);

  scene.UseReplayEngine(row.record, row.log);
  scene.UseWeights({});
  const std::string commands = "set -e; cd '" + scene.dir().string() + "'; OUT='" +
                               scene.outside.string() +
                               "'; engine() { rm -rf engine; "
                               "printf '#!/bin/sh\\n%s\\n' \"$1\" > engine; chmod 700 engine; }; " +
                               row.setUp;
  ASSERT_EQ(std::system(commands.c_str()), 0) << row.setUp;
  if (row.asNobody) scene.HandToNobody();
  scene.result = scene.Run(row.arguments, {.seconds = 20, .asNobody = row.asNobody});
  if (row.asNobody && scene.result.status == NobodyCannotRun)
    GTEST_SKIP() << "as root this row runs fvexplain as nobody, who may not run " FVEXPLAIN_PATH;
  fs::permissions(scene.dir(), fs::perms::owner_all);
  if (fs::is_directory(scene.At("log"))) fs::permissions(scene.At("log"), fs::perms::owner_all);

  EXPECT_FALSE(scene.result.timedOut);
  EXPECT_EQ(scene.result.status, row.status);
  const std::string& err = scene.result.err;
  if (row.err.ends_with("..."))
    EXPECT_TRUE(err.starts_with(row.err.substr(0, row.err.size() - 3))) << err;
  else
    EXPECT_EQ(err, row.err);
  if (row.status != 0 && fs::is_regular_file(scene.At("report.html"))) {
    EXPECT_EQ(scene.Read("report.html"), "earlier\n");
  }
  if (row.check) row.check(scene);

  auto after = Snapshot(scene.outside), expected = before;
  if (row.logLinksOutside) {
    // The linked folder's own files are the log's: replaced by this run's.
    for (auto* entries : {&after, &expected})
      std::erase_if(*entries, [](const auto& e) {
        return fs::path(e.first).parent_path() == "folder" && e.second != "dir";
      });
  }
  EXPECT_EQ(after, expected);
  for (const auto& entry : fs::recursive_directory_iterator(scene.dir()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(Situations, Catalogue, ::testing::ValuesIn(Rows),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

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
