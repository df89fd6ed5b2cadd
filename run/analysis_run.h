// One analysis run in the working directory, step by step.
#pragma once

#include <future>
#include <optional>
#include <string>

#include "eval/analysis.h"
#include "eval/weight_file.h"
#include "position/pv_check.h"
#include "render/picture_writer.h"
#include "render/piece_images.h"
#include "render/png_encoder.h"
#include "run/log_folder.h"
#include "run/report.h"
#include "run/settings.h"
#include "run/transcript.h"
#include "shogi/position.h"

namespace fv {

// Owns everything that lives for the whole run: the report, the weight file,
// the input position, the PV with its leaf and the analysis of the leaf.
class AnalysisRun {
 public:
  explicit AnalysisRun(const RunSettings& settings);

  // Runs every step in order and returns the exit status; throws InputError
  // on a fatal input.
  int Execute();

 private:
  void OpenWeights();
  void StartLoadingPieceImages();
  void RunEngineOnEmptyLog();
  void ReadInputPosition();
  void ReadPv();
  void SaveInputPictureWhileDrawingLeaf();
  void ShowPvAndLeaf();
  void AnalyzeLeaf();
  void SaveLeafPicturesAndExplanation();
  void FinishReport();

  // Names the failures on standard error and keeps them for the exit status.
  void NoteFailures(const std::vector<PictureFailure>& failures);

  RunSettings settings_;
  // Freed on threads of their own while the run goes on, waited for at its end.
  RemovedFiles removedLogFiles_;
  Report report_;
  Transcript transcript_;
  Position position_;
  CheckedPv pv_;
  std::optional<WeightFile> weights_;
  // The leaf's totals, statistics and ranked terms (the terms' pictures are
  // drawn from `ranked`).
  EvaluationAnalysis analysis_;
  // The piece pictures with the notices of those missing, read while the
  // engine runs.
  struct LoadedPieceImages {
    PieceImageSet images;
    Notices notices;
  };
  std::future<LoadedPieceImages> pieceLoading_;
  PieceImageSet pieces_;
  // The leaf board with its coded rows, which every ranked picture starts from.
  PngReference leafBoard_;
  // A picture or explanation file that could not be saved: the run goes on
  // and ends with status 1.
  bool pictureFailed_ = false;
};

}  // namespace fv
