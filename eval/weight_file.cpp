#include "eval/weight_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "io/input_error.h"
#include "io/regular_file.h"
#include "io/system_error.h"

namespace fv {

namespace {

Notice SizeWarning(const std::string& path, const char* what, std::uint64_t actual) {
  return {path, "warning: " + std::string(what) + " " + std::to_string(actual) +
                    " bytes, expected " + std::to_string(WeightFileBytes) + "; " +
                    (actual < WeightFileBytes ? "the weights beyond its end read as 0"
                                              : "the bytes beyond are ignored")};
}

}  // namespace

WeightFile WeightFile::Open(const std::string& path) {
  // The descriptor is close-on-exec, so it stays out of the engine's process.
  const RegularFileOpening opening = OpenRegularFile(path);
  if (opening.failure != RegularFileOpening::Failure::None)
    throw InputError(path, OpeningProblem(opening));
  return WeightFile(path, opening.fd, opening.size);
}

std::optional<Notice> WeightFile::SizeNotice() const {
  if (size_ == WeightFileBytes) return std::nullopt;
  return SizeWarning(path_, "the file has", size_);
}

std::optional<Notice> WeightFile::SizeChangeNotice() const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || static_cast<std::uint64_t>(info.st_size) == size_)
    return std::nullopt;
  return SizeWarning(path_, "the file changed while the engine ran; it now has",
                     static_cast<std::uint64_t>(info.st_size));
}

WeightFile::WeightFile(WeightFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

WeightFile& WeightFile::operator=(WeightFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
  }
  return *this;
}

WeightFile::~WeightFile() {
  if (fd_ >= 0) ::close(fd_);
}

void WeightFile::ReadValues(std::uint64_t first, std::span<std::int16_t> out) const {
  auto* bytes = reinterpret_cast<char*>(out.data());
  const std::uint64_t wanted = out.size_bytes();
  std::uint64_t done = 0;
  while (done < wanted) {
    const ssize_t got =
        ::pread(fd_, bytes + done, wanted - done, static_cast<off_t>(first * WeightBytes + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw InputError(path_, SystemProblem("cannot read", errno));
    }
    if (got == 0) break;  // end of file
    done += static_cast<std::uint64_t>(got);
  }
  // A short file fills only as far as it reaches, byte by byte.
  std::memset(bytes + done, 0, wanted - done);
  if constexpr (std::endian::native == std::endian::big) {
    for (std::int16_t& value : out) {
      const auto bits = static_cast<std::uint16_t>(value);
      value = static_cast<std::int16_t>((bits >> 8) | (bits << 8));
    }
  }
}

LeafWeights WeightFile::ReadLeafWeights(int senteKing, int goteKing,
                                        std::span<const std::int16_t> senteFeatures,
                                        std::span<const std::int16_t> goteFeatures) const {
  if (senteKing < 0 || senteKing >= KingSquareCount || goteKing < 0 ||
      goteKing >= KingSquareCount) {
    throw std::out_of_range("king square outside the board");
  }
  const int last = KingSquareCount - 1;
  return LeafWeights{ReadView(senteKing, goteKing, senteFeatures),
                     ReadView(last - goteKing, last - senteKing, goteFeatures)};
}

ViewWeights WeightFile::ReadView(int king, int otherKing,
                                 std::span<const std::int16_t> features) const {
  ViewWeights view;
  std::array<bool, KppFeatureCount> wanted{};
  for (const int feature : features) {
    if (feature < 0 || feature >= KppFeatureCount) throw std::out_of_range("KPP feature index");
    wanted[feature] = true;
  }
  // Rows in ascending order; row m + 1 follows row m in the file, so a run of
  // consecutive rows is one read.
  std::int32_t values = 0;
  for (int m = 0; m < KppFeatureCount; ++m) {
    if (!wanted[m]) continue;
    view.rowStart[m] = values;
    values += m + 1;
  }
  view.kppRows.resize(std::size_t(values));
  for (int m = 0; m < KppFeatureCount;) {
    if (view.rowStart[m] < 0) {
      ++m;
      continue;
    }
    int end = m + 1;
    while (end < KppFeatureCount && view.rowStart[end] >= 0) ++end;
    const std::size_t first = PackedKppIndex(king, m, 0);
    const std::size_t count = PackedKppIndex(king, end, 0) - first;
    ReadValues(first, std::span(view.kppRows).subspan(std::size_t(view.rowStart[m]), count));
    m = end;
  }
  ReadValues(PackedKppValueCount + KkpIndex(king, otherKing, 0), view.kkp);
  return view;
}

}  // namespace fv
