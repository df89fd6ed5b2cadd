// Reading a JPEG file into a blue-green-red picture with libjpeg, so the
// program needs no image-codec library beyond it.
#pragma once

#include <string>

#include <opencv2/core/mat.hpp>

namespace fv {

// Largest width and height read; larger files are refused before decoding.
constexpr int JpegSideLimit = 4096;

// Decodes `path` into `picture` (8-bit, three channels; grey files become
// three equal channels). Returns an empty string on success, else what is
// wrong with the file; `picture` is then left empty.
std::string ReadJpeg(const std::string& path, cv::Mat& picture);

}  // namespace fv
