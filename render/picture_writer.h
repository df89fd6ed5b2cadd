// Saving pictures as PNG files: many at once on all cores, each written whole
// or not at all (AtomicFile).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <opencv2/core/mat.hpp>

#include "io/spare_files.h"
#include "render/png_encoder.h"

namespace fv {

struct PictureFailure {
  std::string path;
  std::string reason;
};

// One picture to make: `draw` fills the worker's picture (it may hold an
// earlier job's pixels, so it must draw everything), which is then saved at
// `path`. A picture drawn over a copy of one board may name that board's
// coded rows as `reference` (which must outlive the writing) to be saved faster.
// With `overReference` as well, the picture already holds the reference's
// pixels when `draw` is called, and `draw` only adds to them; the worker
// restores just the rows the previous such picture changed. Such a job may
// also give `changedWithin`, an area outside which `draw` changes no pixel:
// only that area is then compared with the reference.
struct PictureJob {
  std::string path;
  std::function<void(cv::Mat& picture)> draw;
  const PngReference* reference = nullptr;
  bool overReference = false;
  std::optional<cv::Rect> changedWithin = std::nullopt;
};

// Draws, encodes and writes every job, `threads` at a time (0: one per core),
// each over one of `spares` where one is left, else as a new file. Each
// picture is drawn and coded on one thread: the jobs are the unit of parallel
// work.
// Returns the jobs that failed, in job order, with their reasons; a job whose
// drawing throws is reported the same way.
std::vector<PictureFailure> WritePictures(const std::vector<PictureJob>& jobs, unsigned threads = 0,
                                          SpareFiles* spares = nullptr);

}  // namespace fv
