#include "run/analysis_run.h"

#include <cstdio>

#include "position/board_text.h"
#include "position/csa_record.h"
#include "position/pv_check.h"
#include "position/pv_reader.h"
#include "position/replay.h"
#include "run/engine_process.h"
#include "run/log_folder.h"
#include "run/paths.h"

namespace fv {

// Stage 2: the report is created with the run and begun at once.
AnalysisRun::AnalysisRun(const RunSettings& settings) : settings_(settings), report_(ReportPath) {
  report_.WriteOpening();
}

// Stages 3 (weights), 8 (input picture) and 12 to 14 (evaluation analysis,
// totals, gallery) take their places in this sequence as they are built.
int AnalysisRun::Execute() {
  RunEngineOnEmptyLog();   // 4
  ReadInputPosition();     // 5, 6
  ReadPv();                // 7
  StartPvLine();           // 9
  ReplayPvToLeaf();        // 10
  ShowLeaf();              // 11
  report_.WriteClosingAndClose();  // 15
  return 0;
}

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

void AnalysisRun::StartPvLine() {
  report_.WritePictureHeadings();
  std::printf("\nPV=");
}

void AnalysisRun::ReplayPvToLeaf() { ReplayPv(pvSide_, pvMoves_, pvText_, position_, stdout, report_.stream()); }

void AnalysisRun::ShowLeaf() {
  std::printf("\n\n");
  report_.WriteLineBreaks();
  PrintBoard(position_, stdout);
}

}  // namespace fv
