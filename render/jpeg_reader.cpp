#include "render/jpeg_reader.h"

#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "io/regular_file.h"
#include "io/system_error.h"

namespace fv {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return:
// it jumps back to the reader, which gives up on the file.
struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void Silent(j_common_ptr) {}

// The decoding itself. No object with a destructor is made between setjmp
// and the calls that may jump back to it.
const char* Decode(std::FILE* file, cv::Mat& picture) {
  jpeg_decompress_struct info;
  ErrorJump error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JumpOnError;
  error.manager.output_message = Silent;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return "not a readable JPEG picture";
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  if (info.image_width > JpegSideLimit || info.image_height > JpegSideLimit) {
    jpeg_destroy_decompress(&info);
    return "picture larger than 4096 x 4096 pixels";
  }
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  picture.create(static_cast<int>(info.output_height), static_cast<int>(info.output_width),
                 CV_8UC3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture.ptr(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return nullptr;
}

}  // namespace

std::string ReadJpeg(const std::string& path, cv::Mat& picture) {
  picture.release();
  const RegularFileOpening opening = OpenRegularFile(path);
  if (opening.failure != RegularFileOpening::Failure::None) return OpeningProblem(opening);
  std::FILE* file = ::fdopen(opening.fd, "rb");
  if (!file) {
    const int error = errno;
    ::close(opening.fd);
    return SystemProblem("cannot open", error);
  }
  const char* problem = Decode(file, picture);
  std::fclose(file);
  if (!problem) return {};
  picture.release();
  return problem;
}

}  // namespace fv
