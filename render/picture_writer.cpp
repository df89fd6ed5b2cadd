#include "render/picture_writer.h"

#include <atomic>
#include <cstring>
#include <thread>

#include "io/atomic_file.h"
#include "io/input_error.h"

namespace fv {

namespace {

// A worker's picture, which it can set to a reference's pixels by copying
// only the bytes its last picture over that reference changed.
class WorkerPicture {
 public:
  cv::Mat& picture() { return picture_; }

  void StartFrom(const PngReference& reference) {
    const cv::Mat& board = reference.picture;
    const bool restorable = held_ == &reference && picture_.data == ownData_ &&
                            picture_.size() == board.size() && picture_.type() == board.type() &&
                            changed_.size() == static_cast<std::size_t>(board.rows);
    if (!restorable) {
      picture_ = board.clone();  // never into a buffer a drawing may share
      ownData_ = picture_.data;
    } else {
      for (int y = 0; y < board.rows; ++y) {
        const PngRowSpan span = changed_[y];
        if (span.first < span.end)
          std::memcpy(picture_.ptr(y) + span.first, board.ptr(y) + span.first,
                      span.end - span.first);
      }
    }
    held_ = nullptr;  // until the picture is coded and its changed rows known
  }

  // After coding the picture against `reference`: where its rows differ.
  void Coded(const PngReference* reference, const std::vector<PngRowSpan>& changedBytes) {
    held_ = reference;
    changed_ = changedBytes;
  }

  void Forget() { held_ = nullptr; }

 private:
  cv::Mat picture_;
  const PngReference* held_ = nullptr;
  const std::uint8_t* ownData_ = nullptr;
  std::vector<PngRowSpan> changed_;
};

}  // namespace

std::vector<PictureFailure> WritePictures(const std::vector<PictureJob>& jobs, unsigned threads,
                                          SpareFiles* spares) {
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  threads = std::min<unsigned>(threads, static_cast<unsigned>(jobs.size()));

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
        if (over)
          worker.StartFrom(*job.reference);
        else
          worker.Forget();
        job.draw(worker.picture());
        bytes.clear();
        const cv::Rect* area = over && job.changedWithin ? &*job.changedWithin : nullptr;
        EncodePng(worker.picture(), scratch, bytes, job.reference, area);
        if (over && scratch.changedBytes.size() == static_cast<std::size_t>(worker.picture().rows))
          worker.Coded(job.reference, scratch.changedBytes);
        WriteFileAtomically(job.path, bytes, spares);
      } catch (const InputError& e) {
        reasons[i] = e.problem();
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
