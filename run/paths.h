// Fixed paths of a run, relative to the working directory.
#pragma once

#include <cstdio>
#include <string>

namespace fv {

constexpr const char* ReportPath = "./report.html";
constexpr const char* WeightPath = "./fv.bin";
constexpr const char* LogFolder = "log";
constexpr const char* EnginePath = "./engine";
constexpr const char* RecordPath = "./log/game000.csa";
constexpr const char* SearchLogPath = "./log/n000.log";
constexpr const char* PieceImageFolder = "./img";
constexpr const char* InputPicturePath = "./log/init.png";
constexpr const char* LeafPicturePath = "./log/leaf.png";
constexpr const char* ExplanationJsonPath = "./log/explain.json";
constexpr const char* ExplanationPagePath = "./explain.html";

// "./log/rank001.png" for rank 1, the picture of the ranked term.
inline std::string RankPicturePath(int rank) {
  char path[32];
  std::snprintf(path, sizeof path, "./log/rank%03d.png", rank);
  return path;
}

}  // namespace fv
