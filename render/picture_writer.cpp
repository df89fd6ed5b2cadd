#include "render/picture_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

#include <opencv2/core/utility.hpp>

namespace fv {

namespace {

std::string SystemReason(const char* what, int error) {
  return std::string(what) + ": " + std::generic_category().message(error);
}

// A name in the folder of `path` that no other writer of this process uses.
std::string TemporaryName(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const std::filesystem::path target(path);
  std::string name(".");
  name += target.filename().string();
  name += ".tmp-";
  name += std::to_string(::getpid());
  name += '-';
  name += std::to_string(counter.fetch_add(1));
  return (target.parent_path() / name).string();
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

std::string EncodeAndWrite(const std::string& path, const cv::Mat& picture, const PngReference* reference,
                           PngScratch& scratch, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  EncodePng(picture, scratch, bytes, reference);
  return WriteFileAtomically(path, bytes);
}

// A worker's picture, which it can set to a reference's pixels by copying
// only the rows its last picture over that reference changed.
class WorkerPicture {
 public:
  cv::Mat& picture() { return picture_; }

  void StartFrom(const PngReference& reference) {
    const cv::Mat& board = reference.picture;
    const bool restorable = held_ == &reference && picture_.data == ownData_ && picture_.size() == board.size() &&
                            picture_.type() == board.type() && changed_.size() == static_cast<std::size_t>(board.rows);
    if (!restorable) {
      picture_ = board.clone();  // never into a buffer a drawing may share
      ownData_ = picture_.data;
    } else {
      const std::size_t rowBytes = board.elemSize() * static_cast<std::size_t>(board.cols);
      for (int y = 0; y < board.rows; ++y)
        if (changed_[y]) std::memcpy(picture_.ptr(y), board.ptr(y), rowBytes);
    }
    held_ = nullptr;  // until the picture is coded and its changed rows known
  }

  // After coding the picture against `reference`: its rows that differ.
  void Coded(const PngReference* reference, const std::vector<char>& sameRows) {
    held_ = reference;
    changed_.resize(sameRows.size());
    for (std::size_t y = 0; y < sameRows.size(); ++y) changed_[y] = !sameRows[y];
  }

  void Forget() { held_ = nullptr; }

 private:
  cv::Mat picture_;
  const PngReference* held_ = nullptr;
  const std::uint8_t* ownData_ = nullptr;
  std::vector<char> changed_;
};

// Writes through a named temporary file beside `path`, renamed into place.
std::string WriteThroughTemporaryName(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::string temporary = TemporaryName(path);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return SystemReason("cannot create a file in its folder", errno);

  std::string reason;
  if (!WriteAll(fd, bytes.data(), bytes.size())) reason = SystemReason("cannot write", errno);
  if (::close(fd) != 0 && reason.empty()) reason = SystemReason("cannot finish writing", errno);
  if (reason.empty() && std::rename(temporary.c_str(), path.c_str()) != 0)
    reason = SystemReason("cannot put the file in place", errno);
  if (!reason.empty()) ::unlink(temporary.c_str());
  return reason;
}

// Gives the unnamed file `fd` the name `path`: linked directly where the name
// is free, else linked under a temporary name and renamed over the old file.
// Returns errno of the link that failed, or 0.
int LinkUnnamedFile(int fd, const std::string& path) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  if (errno != EEXIST) return errno;
  const std::string temporary = TemporaryName(path);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) return errno;
  if (std::rename(temporary.c_str(), path.c_str()) == 0) return 0;
  const int error = errno;
  ::unlink(temporary.c_str());
  return error;
}

}  // namespace

// The file is written unnamed (O_TMPFILE) in the folder and linked under its
// name once complete: a failed or killed writer leaves nothing behind, and the
// folder sees one new entry instead of a temporary one renamed. Where the file
// system has no unnamed files, or they cannot be linked, a named temporary
// file is renamed into place instead.
std::string WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return WriteThroughTemporaryName(path, bytes);
    return SystemReason("cannot create a file in its folder", errno);
  }
  if (!WriteAll(fd, bytes.data(), bytes.size())) {
    const int error = errno;
    ::close(fd);
    return SystemReason("cannot write", error);
  }
  const int linkError = LinkUnnamedFile(fd, path);
  if (::close(fd) != 0 && linkError == 0) {
    const int error = errno;
    ::unlink(path.c_str());
    return SystemReason("cannot finish writing", error);
  }
  if (linkError == 0) return "";
  // Without /proc the unnamed file cannot be linked; a rename reports what
  // else stands in the way.
  return WriteThroughTemporaryName(path, bytes);
}

std::vector<PictureFailure> WritePictures(const std::vector<PictureJob>& jobs, unsigned threads) {
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  threads = std::min<unsigned>(threads, static_cast<unsigned>(jobs.size()));
  // Each picture is drawn and coded on one thread. OpenCV's own worker threads
  // (cv::cvtColor hands rows to them) would only compete with ours for the
  // cores, spinning between the small tasks each picture gives them.
  cv::setNumThreads(0);

  std::vector<std::string> reasons(jobs.size());
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    WorkerPicture worker;
    PngScratch scratch;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = next.fetch_add(1); i < jobs.size(); i = next.fetch_add(1)) {
      const PictureJob& job = jobs[i];
      const bool over = job.overReference && job.reference;
      try {
        if (over) worker.StartFrom(*job.reference);
        else worker.Forget();
        job.draw(worker.picture());
        bytes.clear();
        EncodePng(worker.picture(), scratch, bytes, job.reference);
        if (over && scratch.sameRows.size() == static_cast<std::size_t>(worker.picture().rows))
          worker.Coded(job.reference, scratch.sameRows);
        reasons[i] = WriteFileAtomically(job.path, bytes);
      } catch (const std::exception& e) {
        reasons[i] = e.what();
      }
    }
  };
  std::vector<std::thread> workers;
  for (unsigned t = 1; t < threads; ++t) workers.emplace_back(work);
  work();  // the calling thread is one of the workers
  for (std::thread& worker : workers) worker.join();

  std::vector<PictureFailure> failures;
  for (std::size_t i = 0; i < jobs.size(); ++i)
    if (!reasons[i].empty()) failures.push_back({jobs[i].path, reasons[i]});
  return failures;
}

}  // namespace fv
