#include "run/analysis_run.h"

#include <cstdio>

#include "eval/decomposition.h"
#include "position/board_text.h"
#include "position/csa_record.h"
#include "position/input_error.h"
#include "position/pv_check.h"
#include "position/pv_reader.h"
#include "position/replay.h"
#include "run/engine_process.h"
#include "run/explanation_files.h"
#include "run/log_folder.h"
#include "run/paths.h"
#include "run/run_pictures.h"

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
  ReplayPvToLeaf();        // 10
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

void AnalysisRun::RunEngineOnEmptyLog() {
  EmptyLogFolder(LogFolder);
  RunEngine(EnginePath);
}

void AnalysisRun::ReadInputPosition() {
  ReadCsaRecord(RecordPath, position_);
  PrintBoard(position_, stdout);
}

// The PV is checked against the input position before anything of it is shown.
void AnalysisRun::ReadPv() {
  pvSide_ = ReadPvText(SearchLogPath, pvText_);
  ParsePv(pvText_, pvMoves_);
  ValidatePv(SearchLogPath, pvSide_, position_, pvText_, pvMoves_);
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

void AnalysisRun::ReplayPvToLeaf() {
  searched_ = position_;
  ReplayPv(pvSide_, pvMoves_, pvText_, position_, stdout, report_.stream());
}

void AnalysisRun::ShowLeaf() {
  std::printf("\n\n");
  report_.WriteLineBreaks();
  PrintBoard(position_, stdout);
}

// The record's and the PV's checks already refuse every position that the
// weights cannot evaluate (the PV check refuses taking a king); should a leaf
// still be one, it is refused under the name of the search log.
void AnalysisRun::AnalyzeLeaf() {
  try {
    CheckEvaluable(position_);
  } catch (const InputError& error) {
    throw InputError(SearchLogPath, "the leaf of the PV cannot be evaluated: " + error.problem());
  }
  analysis_ = AnalyzeEvaluation(position_, *weights_, settings_.sortMode, settings_.rankCount, stdout, report_.stream());
}

void AnalysisRun::SaveLeafPictures() { NoteFailures(WriteLeafPictures(position_, analysis_.ranked, pieces_)); }

// Like a picture, an explanation file that cannot be written is named and the
// run goes on.
void AnalysisRun::WriteExplanation() {
  const ExplanationData data =
      GatherExplanation(searched_, position_, pvSide_, pvMoves_, pvText_, *weights_, settings_);
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
