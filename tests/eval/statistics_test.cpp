#include "eval/statistics.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace fv {
namespace {

TEST(Statistics, EachTermEntersOneSide) {
  struct Case { const char* what; Side view; std::int32_t value; Side side; std::int32_t sum; int bin; };
  const Case cases[] = {
      {"319 is shown as 9", Sente, 319, Sente, 319, 0},
      {"320 is shown as 10", Sente, 320, Sente, 320, 1},
      {"shown size 0 still counts", Gote, 31, Sente, 31, 0},
      {"one unit", Sente, 1, Sente, 1, 0},
      {"negative Sente view", Sente, -2240, Gote, 2240, 7},
      {"69 shown", Gote, -2239, Gote, 2239, 6},
      {"large term stays in the last bin", Gote, 30000, Sente, 30000, 7},
      {"a gote weight of -32768", Gote, 32768, Sente, 32768, 7},
      {"a sente weight of -32768", Sente, -32768, Gote, 32768, 7},
      {"zero in the Sente view counts for Gote", Sente, 0, Gote, 0, -1},
      {"zero in the Gote view counts for Sente", Gote, 0, Sente, 0, -1},
  };
  for (const Case& c : cases) {
    ContributionStats stats;
    EnterTerm(stats, c.view, c.value);
    SideStatistics expected;
    expected.count = 1;
    expected.sum = c.sum;
    if (c.bin >= 0) expected.bins[c.bin] = 1;
    EXPECT_EQ(stats.side[c.side], expected) << c.what;
    EXPECT_EQ(stats.side[c.side == Sente ? Gote : Sente], SideStatistics{}) << c.what;
  }
}

TEST(Statistics, CountsCoverEveryTermAndViewsAlternate) {
  // Decomposition order: even terms are Sente-view, odd terms Gote-view.
  const std::vector<FeatureContribution> terms = {
      {0, 76, 81, 81}, {0, 4, 88, 88}, {5, 76, 1, 1}, {-5, 4, 1, 1}, {640, 76, 2, 2}, {0, 4, 2, 2}};
  const ContributionStats stats = CollectStatistics(terms);
  EXPECT_EQ(stats.side[Sente].count + stats.side[Gote].count, int(terms.size()));
  EXPECT_EQ(stats.side[Sente].count, 4);  // 5, 640 and two Gote-view zeros
  EXPECT_EQ(stats.side[Gote].count, 2);   // -5 and the Sente-view zero
  EXPECT_EQ(stats.side[Sente].sum, 645);
  EXPECT_EQ(stats.side[Sente].bins[2], 1);
}

std::string Written(const ContributionStats& stats, bool console) {
  std::FILE* console_ = std::tmpfile();
  std::FILE* report = std::tmpfile();
  WriteStatistics(stats, console_, report);
  std::FILE* wanted = console ? console_ : report;
  std::rewind(wanted);
  std::string text;
  for (int c; (c = std::fgetc(wanted)) != EOF;) text += char(c);
  std::fclose(console_);
  std::fclose(report);
  return text;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (const int b : bytes) s += char(b);
  return s;
}

TEST(Statistics, ShiftJisLinesOnConsoleAndReport) {
  ContributionStats stats;
  for (int n = 0; n < 100; ++n) EnterTerm(stats, Sente, 16);  // sum 1600, printed 50
  EnterTerm(stats, Gote, 2240);                                // Sente bin 7
  EnterTerm(stats, Sente, -33);                                // Gote sum 33, printed 1
  const std::string sente = Bytes({0x90, 0xE6, 0x8E, 0xE8});
  const std::string gote = Bytes({0x8C, 0xE3, 0x8E, 0xE8});
  const std::string favouring = Bytes({0x97, 0x4C, 0x97, 0x98, 0x93, 0xC1, 0x92, 0xA5, 0x90, 0x94});
  const std::string sum = Bytes({0x91, 0x8D, 0x98, 0x61});
  const std::string distribution = Bytes({0x95, 0xAA, 0x95, 0x7A});
  const std::string comma = Bytes({0x81, 0x43});
  const std::string dash = Bytes({0x81, 0x60});
  auto bins = [&](const std::array<int, 8>& counts, const char* end) {
    std::string text;
    for (int k = 0; k < 8; ++k) {
      text += " [" + std::to_string(10 * k) + dash + std::to_string(10 * k + 10) + "] = " +
              std::to_string(counts[k]) + end;
    }
    return text;
  };
  const std::string console = sente + favouring + "=101, " + sum + "=120\n" + distribution + "\n" +
                              bins({100, 0, 0, 0, 0, 0, 0, 1}, "\n") + gote + favouring + "=1" + comma + sum +
                              "=1\n" + distribution + "\n" + bins({1, 0, 0, 0, 0, 0, 0, 0}, "\n");
  const std::string report = sente + favouring + "=101, " + sum + "=120<br>" + bins({100, 0, 0, 0, 0, 0, 0, 1}, "<br>") +
                             gote + favouring + "=1" + comma + sum + "=1<br>" + bins({1, 0, 0, 0, 0, 0, 0, 0}, "<br>");
  EXPECT_EQ(Written(stats, true), console);
  EXPECT_EQ(Written(stats, false), report);
}

}  // namespace
}  // namespace fv
