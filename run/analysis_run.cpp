#include "run/analysis_run.h"

#include <cstdio>

#include "eval/decomposition.h"
#include "position/board_text.h"
#include "position/csa_record.h"
#include "io/input_error.h"
#include "position/pv_check.h"
#include "position/pv_reader.h"
#include "run/engine_process.h"
#include "run/explanation_files.h"
#include "run/log_folder.h"
#include "run/paths.h"
#include "run/run_pictures.h"
#include "shogi/piece_rules.h"

namespace fv {

// Stage 2: the report is created with the run and begun at once.
AnalysisRun::AnalysisRun(const RunSettings& settings) : settings_(settings), report_(ReportPath) {
  report_.WriteOpening();
}

// A picture that cannot be saved does not stop the run: the report is
// finished, and the status tells of the failure.
int AnalysisRun::Execute() {
  OpenWeights();           // 3
  RunEngineOnEmptyLog();   // 4
  ReadInputPosition();     // 5, 6
  ReadPv();                // 7
  SaveInputPicture();      // 8
  StartPvLine();           // 9
  ShowPv();                // 10
  ShowLeaf();              // 11
  AnalyzeLeaf();           // 12
  SaveLeafPictures();      // 12
  WriteExplanation();      // log/explain.json, explain.html
  WriteTotals();           // 13
  report_.WriteGallery(settings_.rankCount);  // 14
  report_.WriteClosingAndClose();             // 15
  return pictureFailed_ ? 1 : 0;
}

// A missing or unusable weight file stops the run before the log folder is
// touched and the engine starts; a size warning goes to standard error.
void AnalysisRun::OpenWeights() { weights_.emplace(WeightFile::Open(WeightPath, stderr)); }

// The earlier run's files are gone from the log folder before the engine
// starts; their space is freed while it runs.
void AnalysisRun::RunEngineOnEmptyLog() {
  removedLogFiles_ = EmptyLogFolder(LogFolder);
  RunEngine(EnginePath, [this] { removedLogFiles_.FreeInBackground(); });
}

void AnalysisRun::ReadInputPosition() {
  ReadCsaRecord(RecordPath, position_);
  PrintBoard(position_, stdout);
}

// The PV is checked against the input position and played to its leaf before
// anything of it is shown.
void AnalysisRun::ReadPv() {
  std::string text;
  const Side side = ReadPvText(SearchLogPath, text);
  pv_ = CheckPv(SearchLogPath, side, position_, text);
}

// The piece pictures are read once here and serve every board of the run; a
// missing one is named on standard error and drawn as a plain tile.
void AnalysisRun::SaveInputPicture() {
  pieces_ = LoadPieceImages(PieceImageFolder, stderr);
  NoteFailures(WriteInputPicture(position_, pieces_));
}

void AnalysisRun::StartPvLine() {
  report_.WritePictureHeadings();
  std::printf("\nPV=");
}

// Each move's line, "+7776FU" ("-" for Gote), to the console and the report.
void AnalysisRun::ShowPv() {
  for (const PvMove& move : pv_.moves) {
    const std::string line = move.Line() + "\n";
    std::fputs(line.c_str(), stdout);
    std::fputs(line.c_str(), report_.stream());
  }
}

void AnalysisRun::ShowLeaf() {
  std::printf("\n\n");
  report_.WriteLineBreaks();
  PrintBoard(pv_.Leaf(), stdout);
}

// The record's and the PV's checks already refuse every position that the
// weights cannot evaluate (the PV check refuses taking a king); should a leaf
// still be one, it is refused under the name of the search log. A leaf whose
// side to move has no legal move is analysed as any other, with a note that
// its static evaluation does not score the mate.
void AnalysisRun::AnalyzeLeaf() {
  EvaluableLeaf leaf;
  try {
    leaf = MakeEvaluableLeaf(pv_.Leaf());
  } catch (const InputError& error) {
    throw InputError(SearchLogPath, "the leaf of the PV cannot be evaluated: " + error.problem());
  }
  if (pv_.leafHasNoLegalMove) {
    std::fflush(stdout);
    std::fprintf(stderr,
                 "fvexplain: %s: note: the leaf of the PV is mate (%s to move has no legal move); "
                 "its static evaluation does not score the mate\n",
                 SearchLogPath, SideName(pv_.leafSideToMove));
  }
  analysis_ = AnalyzeEvaluation(leaf, ReadLeafWeights(leaf, *weights_), settings_.order,
                                settings_.rankCount, stdout, report_.stream());
}

void AnalysisRun::SaveLeafPictures() {
  NoteFailures(WriteLeafPictures(pv_.Leaf(), analysis_.ranked, pieces_));
}

// Like a picture, an explanation file that cannot be written is named and the
// run goes on.
void AnalysisRun::WriteExplanation() {
  const ExplanationData data = GatherExplanation(pv_, *weights_, settings_);
  for (const FileFailure& failure : WriteExplanationFiles(data)) {
    pictureFailed_ = true;
    std::fflush(stdout);
    std::fprintf(stderr, "fvexplain: %s: %s\n", failure.path.c_str(), failure.problem.c_str());
  }
}

void AnalysisRun::NoteFailures(const std::vector<PictureFailure>& failures) {
  if (failures.empty()) return;
  pictureFailed_ = true;
  std::fflush(stdout);
  ReportPictureFailures(failures, stderr);
}

void AnalysisRun::WriteTotals() { WriteEvaluationTotal(report_.stream(), analysis_); }

}  // namespace fv
