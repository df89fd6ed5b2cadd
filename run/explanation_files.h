// The run's explanation outputs: log/explain.json and explain.html beside
// report.html, gathered from the run's positions and weights.
#pragma once

#include <string>
#include <vector>

#include "eval/weight_file.h"
#include "io/spare_files.h"
#include "position/pv_check.h"
#include "run/explanation_data.h"
#include "run/settings.h"
#include "shogi/position.h"

namespace fv {

// Explains the leaf of `pv` and the line to it. A position of the line that
// cannot be evaluated leaves the line empty with its problem noted.
ExplanationData GatherExplanation(const CheckedPv& pv, const WeightFile& weights,
                                  const RunSettings& settings);

struct FileFailure {
  std::string path;
  std::string problem;
};

// Writes both files, each complete under its final name or not at all (over
// one of `spares` where one is left), and returns those that could not be
// written.
std::vector<FileFailure> WriteExplanationFiles(const ExplanationData& data, SpareFiles* spares);

}  // namespace fv
