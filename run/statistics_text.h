// The statistics of a leaf's terms as text: the only Japanese lines of the
// transcript and the report.
#pragma once

#include <string>

#include "eval/statistics.h"
#include "run/console_encoding.h"

namespace fv {

// Each side's count and sum (divided by 32), "分布" (distribution) and its
// eight bins, one console line each, the Japanese words in `encoding`.
std::string ConsoleStatistics(const ContributionStats& stats, TextEncoding encoding);

// The same without the distribution heading, as "<br>"-ended report entries
// in Shift_JIS.
std::string ReportStatistics(const ContributionStats& stats);

}  // namespace fv
