#include "run/analysis_run.h"

#include <cstdio>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include "eval/decomposition.h"
#include "io/input_error.h"
#include "position/csa_record.h"
#include "position/pv_check.h"
#include "position/pv_reader.h"
#include "run/engine_check.h"
#include "run/engine_process.h"
#include "run/explanation_files.h"
#include "run/log_folder.h"
#include "run/paths.h"
#include "run/run_pictures.h"
#include "shogi/piece_rules.h"

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
  StartLoadingPieceImages();
  RunEngineOnEmptyLog();
  ReadInputPosition();
  ReadPv();
  SaveInputPictureWhileDrawingLeaf();
  ShowPvAndLeaf();
  AnalyzeLeaf();
  SaveLeafPicturesAndExplanation();
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
// with it the pictures of an earlier report) is emptied. The earlier run's
// files are gone from the log folder before the engine starts; their space is
// freed while it runs.
void AnalysisRun::RunEngineOnEmptyLog() {
  CheckEngineCanStart(EnginePath);
  removedLogFiles_ = EmptyLogFolder(LogFolder);
  RunEngine(EnginePath, [this] { removedLogFiles_.FreeInBackground(); });
}

void AnalysisRun::ReadInputPosition() {
  ReadCsaRecord(RecordPath, position_);
  transcript_.WriteBoard(position_);
}

// The PV is checked against the input position and played to its leaf before
// anything of it is shown.
void AnalysisRun::ReadPv() {
  Notices notices;
  std::string text;
  const Side side = ReadPvText(SearchLogPath, text, notices);
  transcript_.Note(notices);
  pv_ = CheckPv(SearchLogPath, side, position_, text);
}

// The piece pictures do not depend on what the engine leaves, so they are
// read (from the disk, after the machine has idled) on a thread of their own
// while the engine runs.
void AnalysisRun::StartLoadingPieceImages() {
  auto load = [] {
    LoadedPieceImages loaded;
    loaded.images = LoadPieceImages(PieceImageFolder, &loaded.notices);
    return loaded;
  };
  try {
    pieceLoading_ = std::async(std::launch::async, load);
  } catch (const std::system_error&) {
    pieceLoading_ = std::async(std::launch::deferred, load);  // no thread to spare: read here
  }
}

// The piece pictures serve every board of the run; a missing one is named on
// standard error here and drawn as a plain tile. The input board is drawn and
// saved on a thread of its own while the leaf board is drawn and coded here;
// a failure to save it is named before anything of the PV is shown.
void AnalysisRun::SaveInputPictureWhileDrawingLeaf() {
  LoadedPieceImages loaded = pieceLoading_.get();
  pieces_ = std::move(loaded.images);
  transcript_.Note(loaded.notices);
  auto saveInput = [this] {
    return WriteInputPicture(position_, pieces_, removedLogFiles_.spares());
  };
  std::future<std::vector<PictureFailure>> input;
  try {
    input = std::async(std::launch::async, saveInput);
  } catch (const std::system_error&) {
    input = std::async(std::launch::deferred, saveInput);  // no thread to spare: saved below
  }
  try {
    leafBoard_ = DrawLeafBoard(pv_.Leaf(), pieces_);
  } catch (...) {
    NoteFailures(input.get());
    throw;
  }
  NoteFailures(input.get());
}

// The PV is shown in the transcript and the report, then the leaf it reaches
// in the transcript.
void AnalysisRun::ShowPvAndLeaf() {
  report_.WritePictureHeadings();
  transcript_.WritePv(pv_.moves);
  report_.WritePv(pv_.moves);
  transcript_.WriteBoard(pv_.Leaf());
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
    transcript_.Note({SearchLogPath, std::string("note: the leaf of the PV is mate (") +
                                         SideName(pv_.leafSideToMove) +
                                         " to move has no legal move); its static evaluation "
                                         "does not score the mate"});
  }
  if (const auto notice = weights_->SizeChangeNotice()) transcript_.Note(*notice);
  analysis_ = AnalyzeEvaluation(leaf, ReadLeafWeights(leaf, *weights_), settings_.order,
                                settings_.rankCount);
  transcript_.WriteAnalysis(pv_.Leaf(), analysis_);
  report_.WriteStatistics(analysis_.statistics);
}

// The explanation is gathered and written on a thread of its own while the
// pictures are drawn (it reads the weights, they do not), so that neither
// waits for the other on a core of its own; the pictures' failures are named
// first, then the explanation's. Like a picture, an explanation file that
// cannot be written is named and the run goes on.
void AnalysisRun::SaveLeafPicturesAndExplanation() {
  std::vector<FileFailure> explanationFailures;
  std::exception_ptr explanationError;
  auto explain = [&] {
    try {
      explanationFailures = WriteExplanationFiles(GatherExplanation(pv_, *weights_, settings_),
                                                  removedLogFiles_.spares());
    } catch (...) {
      explanationError = std::current_exception();
    }
  };
  std::thread explanation;
  try {
    explanation = std::thread(explain);
  } catch (const std::system_error&) {
    explain();  // no thread to spare: after the pictures would be the same
  }
  std::vector<PictureFailure> pictureFailures;
  try {
    pictureFailures = WriteLeafPictures(leafBoard_, analysis_.ranked, removedLogFiles_.spares());
  } catch (...) {
    if (explanation.joinable()) explanation.join();
    throw;
  }
  if (explanation.joinable()) explanation.join();
  removedLogFiles_.DropSpares();
  NoteFailures(pictureFailures);
  if (explanationError) std::rethrow_exception(explanationError);
  for (const FileFailure& failure : explanationFailures) {
    pictureFailed_ = true;
    transcript_.Note({failure.path, failure.problem});
  }
}

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
