#include "run/statistics_text.h"

#include <cstdarg>
#include <cstdio>

#include "eval/weight_layout.h"

namespace fv {

namespace {

// 先手有利特徴数 / 後手有利特徴数 (features favouring Sente / Gote), 総和 (sum),
// 分布 (distribution), the full-width comma and the wave dash of the ranges.
struct JapaneseWords {
  const char* favouringSente;
  const char* favouringGote;
  const char* sum;
  const char* distribution;
  const char* fullWidthComma;
  const char* waveDash;
};

constexpr JapaneseWords ShiftJisWords = {
    "\x90\xE6\x8E\xE8\x97\x4C\x97\x98\x93\xC1\x92\xA5\x90\x94",
    "\x8C\xE3\x8E\xE8\x97\x4C\x97\x98\x93\xC1\x92\xA5\x90\x94",
    "\x91\x8D\x98\x61",
    "\x95\xAA\x95\x7A",
    "\x81\x43",
    "\x81\x60",
};

constexpr JapaneseWords Utf8Words = {
    "\xE5\x85\x88\xE6\x89\x8B\xE6\x9C\x89\xE5\x88\xA9\xE7\x89\xB9\xE5\xBE\xB4\xE6\x95\xB0",
    "\xE5\xBE\x8C\xE6\x89\x8B\xE6\x9C\x89\xE5\x88\xA9\xE7\x89\xB9\xE5\xBE\xB4\xE6\x95\xB0",
    "\xE7\xB7\x8F\xE5\x92\x8C",
    "\xE5\x88\x86\xE5\xB8\x83",
    "\xEF\xBC\x8C",
    "\xEF\xBD\x9E",
};

// How a line ends: "\n" on the console, "<br>" in the report, where the
// distribution heading is left out.
struct LineStyle {
  const char* end;
  bool distributionHeading;
};

__attribute__((format(printf, 2, 3))) void Append(std::string& out, const char* format, ...) {
  char line[256];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  out += line;
}

// Sente's heading separates its numbers with ", ", Gote's with the full-width
// comma alone.
std::string Statistics(const ContributionStats& stats, const JapaneseWords& words,
                       LineStyle style) {
  std::string out;
  for (const Side side : {Sente, Gote}) {
    const SideStatistics& s = stats.side[side];
    const bool sente = side == Sente;
    Append(out, "%s=%d%s%s=%d%s", sente ? words.favouringSente : words.favouringGote, s.count,
           sente ? ", " : words.fullWidthComma, words.sum, s.sum / WeightScale, style.end);
    if (style.distributionHeading) Append(out, "%s%s", words.distribution, style.end);
    for (int bin = 0; bin < HistogramBinCount; ++bin)
      Append(out, " [%d%s%d] = %d%s", 10 * bin, words.waveDash, 10 * bin + 10, s.bins[bin],
             style.end);
  }
  return out;
}

}  // namespace

std::string ConsoleStatistics(const ContributionStats& stats, TextEncoding encoding) {
  return Statistics(stats, encoding == TextEncoding::Utf8 ? Utf8Words : ShiftJisWords,
                    {"\n", true});
}

std::string ReportStatistics(const ContributionStats& stats) {
  return Statistics(stats, ShiftJisWords, {"<br>", false});
}

}  // namespace fv
