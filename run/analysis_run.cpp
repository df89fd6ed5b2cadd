#include "run/analysis_run.h"

#include <cstdio>

#include "eval/decomposition.h"
#include "position/csa_record.h"
#include "position/input_error.h"
#include "position/pv_check.h"
#include "position/pv_reader.h"
#include "position/replay.h"
#include "run/engine_check.h"
#include "run/engine_process.h"
#include "run/log_folder.h"
#include "run/paths.h"
#include "run/run_pictures.h"

namespace fv {

// The report is created with the run and begun at once, so that a run that
// cannot write it stops before anything else.
AnalysisRun::AnalysisRun(const RunSettings& settings)
    : settings_(settings), report_(ReportPath), transcript_(stdout, stderr, LocaleEncoding()) {
  report_.WriteOpening();
}

// A picture or a transcript that cannot be written does not stop the run: the
// report is finished, and the status tells of the failure.
int AnalysisRun::Execute() {
  OpenWeights();
  RunEngineOnEmptyLog();
  ReadInputPosition();
  ReadPv();
  SaveInputPicture();
  ReplayPvToLeaf();
  AnalyzeLeaf();
  SaveLeafPictures();
  FinishReport();
  const std::string transcriptProblem = transcript_.Finish();
  if (!transcriptProblem.empty()) {
    std::fprintf(stderr, "fvexplain: standard output: %s\n", transcriptProblem.c_str());
    return 1;
  }
  return pictureFailed_ ? 1 : 0;
}

// A missing or unusable weight file stops the run before the log folder is
// touched and the engine starts; a size warning goes to standard error.
void AnalysisRun::OpenWeights() {
  weights_.emplace(WeightFile::Open(WeightPath));
  if (const auto notice = weights_->SizeNotice()) transcript_.Note(*notice);
}

// An engine that cannot be started stops the run before the log folder (and
// with it the pictures of an earlier report) is emptied.
void AnalysisRun::RunEngineOnEmptyLog() {
  CheckEngineCanStart(EnginePath);
  EmptyLogFolder(LogFolder);
  RunEngine(EnginePath);
}

void AnalysisRun::ReadInputPosition() {
  ReadCsaRecord(RecordPath, position_);
  transcript_.WriteBoard(position_);
}

// The PV is checked against the input position before anything of it is shown.
void AnalysisRun::ReadPv() {
  Notices notices;
  pvSide_ = ReadPvText(SearchLogPath, pvText_, notices);
  transcript_.Note(notices);
  ParsePv(pvText_, pvMoves_);
  ValidatePv(SearchLogPath, pvSide_, position_, pvText_, pvMoves_);
}

// The piece pictures are read once here and serve every board of the run; a
// missing one is named on standard error and drawn as a plain tile.
void AnalysisRun::SaveInputPicture() {
  Notices notices;
  pieces_ = LoadPieceImages(PieceImageFolder, &notices);
  transcript_.Note(notices);
  NoteFailures(WriteInputPicture(position_, pieces_));
}

// The PV is shown in the transcript and the report, then played; the leaf it
// reaches is shown in the transcript.
void AnalysisRun::ReplayPvToLeaf() {
  report_.WritePictureHeadings();
  transcript_.WritePv(pvSide_, pvText_, pvMoves_.count());
  report_.WritePv(pvSide_, pvText_, pvMoves_.count());
  ReplayPv(pvSide_, pvMoves_, position_);
  transcript_.WriteBoard(position_);
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
  if (const auto notice = weights_->SizeChangeNotice()) transcript_.Note(*notice);
  analysis_ = AnalyzeEvaluation(position_, *weights_, settings_.sortMode, settings_.rankCount);
  transcript_.WriteAnalysis(position_, analysis_);
  report_.WriteStatistics(analysis_.statistics);
}

void AnalysisRun::SaveLeafPictures() { NoteFailures(WriteLeafPictures(position_, analysis_.ranked, pieces_)); }

void AnalysisRun::NoteFailures(const std::vector<PictureFailure>& failures) {
  if (failures.empty()) return;
  pictureFailed_ = true;
  for (const PictureFailure& failure : failures) transcript_.Note({failure.path, failure.reason});
}

// The totals, the gallery of ranked pictures and the closing; the page is put
// in place.
void AnalysisRun::FinishReport() {
  report_.WriteTotals(analysis_);
  report_.WriteGallery(settings_.rankCount);
  report_.WriteClosingAndClose();
}

}  // namespace fv
