// Fixed paths of a run, relative to the working directory.
#pragma once

namespace fv {

constexpr const char* ReportPath = "./report.html";
constexpr const char* WeightPath = "./fv.bin";
constexpr const char* LogFolder = "log";
constexpr const char* EnginePath = "./engine";
constexpr const char* RecordPath = "./log/game000.csa";
constexpr const char* SearchLogPath = "./log/n000.log";

}  // namespace fv
