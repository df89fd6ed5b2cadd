// The example run of the end-to-end tests: the bundled record and search log
// with weights chosen so that the leaf's terms are known; and records built
// from a few pieces.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/run/workspace.h"

namespace fv::test {

const std::string Record = SourceFile("examples/replay/game000.csa");
const std::string SearchLog = SourceFile("examples/replay/n000.log");
const std::string ExpectedOut = SourceFile("tests/run/expected/example.stdout");
const std::string ExpectedReport = SourceFile("tests/run/expected/example.report.html");

// Chosen weights for the leaves of the example record. Neither king moves in
// these PVs: Sente's stays on 69 (square 75), Gote's on 41 (square 5), which
// Gote's view turns into 75, so both views read block 75 and the KKP row
// (75, 5). Square s as Gote's view takes it is 80 - s.
const std::vector<Weight> ChosenWeights = {
    {Weight::Kpp, 75, 996, 996, 3200},      // Sente view: own UM on 31 (6) with itself
    {Weight::Kpp, 75, 1463, 1463, -1600},   // Sente view: Gote's RY on 48 (68) with itself
    {Weight::Kpp, 75, 49, 2, 500},          // Sente view: 1 KE and 2 FU in own hand
    {Weight::Kpp, 75, 79, 1, 250},          // Sente view: 1 KA and 1 FU in own hand
    {Weight::Kpp, 75, 79, 79, 33},          // either view: 1 KA in own hand with itself
    {Weight::Kpp, 75, 731, 551, 960},       // Gote view: own KI on 32 (15) and own GI on 34 (33)
    {Weight::Kpp, 75, 550, 550, 700},       // Gote view: own GI on 24 (34) with itself
    {Weight::Kpp, 75, 1145, 1145, -32768},  // Gote view: Sente's UM on 31 with itself
    {Weight::Kkp, 75, 5, 501, 640},         // Sente view: own UM on 31
    {Weight::Kkp, 75, 5, 398, -96},         // own KI on 78 (65) for Sente, on 32 for Gote: cancel
    {Weight::Kkp, 75, 5, 669, 320},         // Gote view: own RY on 48
};

// A record with these pieces by square (51: file 5, rank 1) and hand lines.
inline std::string RecordOf(const std::map<int, std::string>& pieces,
                            const std::string& hands = "P+\nP-\n") {
  std::string text = "V2.2\nN+\nN-\n";
  for (int rank = 1; rank <= 9; ++rank) {
    text += {'P', char('0' + rank)};
    for (int file = 9; file >= 1; --file)
      text += pieces.contains(10 * file + rank) ? pieces.at(10 * file + rank) : " * ";
    text += "\n";
  }
  return text + hands;
}

// "log/rank001.png" for rank 1, relative to the workspace.
inline std::string RankPicture(int rank) {
  const std::string digits = std::to_string(rank);
  return "log/rank" + std::string(3 - digits.size(), '0') + digits + ".png";
}

// Every picture a run leaves in log/: the input, the leaf, the 150 ranks.
inline std::vector<std::string> PictureNames() {
  std::vector<std::string> names = {"log/init.png", "log/leaf.png"};
  for (int rank = 1; rank <= 150; ++rank) names.push_back(RankPicture(rank));
  return names;
}

// The example run with the chosen weights, in a workspace without log/ and
// with an earlier, longer report.
struct ExampleRun {
  ExampleRun() {
    workspace.UseReplayEngine(Record, SearchLog);
    workspace.UseWeights(ChosenWeights);
    workspace.Write("report.html", std::string(5000, 'x'));
    result = workspace.Run();
  }
  Workspace workspace;
  RunResult result;
};

// One example run for all the tests of a process that only look at its output.
inline const ExampleRun& Example() {
  static const ExampleRun run;
  return run;
}

}  // namespace fv::test
