#include "eval/statistics.h"

#include "eval/weight_layout.h"

namespace fv {

namespace {

// Shift_JIS texts: 先手有利特徴数 / 後手有利特徴数 (features favouring Sente /
// Gote), 総和 (sum), 分布 (distribution), the full-width comma and the wave
// dash of the bin ranges.
#define FV_FEATURES_FAVOURING "\x97\x4c\x97\x98\x93\xc1\x92\xa5\x90\x94"
#define FV_SENTE "\x90\xe6\x8e\xe8"
#define FV_GOTE "\x8c\xe3\x8e\xe8"
#define FV_SUM "\x91\x8d\x98\x61"
#define FV_DISTRIBUTION "\x95\xaa\x95\x7a"
#define FV_FULLWIDTH_COMMA "\x81\x43"
#define FV_WAVE_DASH "\x81\x60"

struct SideTexts {
  const char* consoleHeading;
  const char* reportHeading;
};

constexpr SideTexts Texts[2] = {
    {FV_SENTE FV_FEATURES_FAVOURING "=%d, " FV_SUM "=%d\n" FV_DISTRIBUTION "\n",
     FV_SENTE FV_FEATURES_FAVOURING "=%d, " FV_SUM "=%d<br>"},
    {FV_GOTE FV_FEATURES_FAVOURING "=%d" FV_FULLWIDTH_COMMA FV_SUM "=%d\n" FV_DISTRIBUTION "\n",
     FV_GOTE FV_FEATURES_FAVOURING "=%d" FV_FULLWIDTH_COMMA FV_SUM "=%d<br>"},
};
constexpr const char* ConsoleBinLine = " [%d" FV_WAVE_DASH "%d] = %d\n";
constexpr const char* ReportBinLine = " [%d" FV_WAVE_DASH "%d] = %d<br>";

}  // namespace

void EnterTerm(ContributionStats& stats, Side view, std::int32_t value) {
  if (value == 0) {
    ++stats.side[view == Sente ? Gote : Sente].count;
    return;
  }
  SideStatistics& favoured = stats.side[value > 0 ? Sente : Gote];
  ++favoured.count;
  favoured.sum += value > 0 ? value : -value;
  ++favoured.bins[HistogramBin(value)];
}

ContributionStats CollectStatistics(std::span<const FeatureContribution> terms) {
  ContributionStats stats;
  for (std::size_t t = 0; t < terms.size(); ++t) EnterTerm(stats, t % 2 == 0 ? Sente : Gote, terms[t].value);
  return stats;
}

void WriteStatistics(const ContributionStats& stats, std::FILE* console, std::FILE* report) {
  for (const Side side : {Sente, Gote}) {
    const SideStatistics& s = stats.side[side];
    std::fprintf(console, Texts[side].consoleHeading, s.count, s.sum / WeightScale);
    std::fprintf(report, Texts[side].reportHeading, s.count, s.sum / WeightScale);
    for (int bin = 0; bin < HistogramBinCount; ++bin) {
      std::fprintf(console, ConsoleBinLine, 10 * bin, 10 * bin + 10, s.bins[bin]);
      std::fprintf(report, ReportBinLine, 10 * bin, 10 * bin + 10, s.bins[bin]);
    }
  }
}

}  // namespace fv
