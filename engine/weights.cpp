#include "engine/weights.h"

#include <sys/mman.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>

#include "position/input_error.h"
#include "position/regular_file.h"

namespace fv::engine {
namespace {

static_assert(std::endian::native == std::endian::little, "the weight file is little-endian");

// A read-only view of WeightFileBytes: the file's pages as far as it reaches,
// zero pages after them.
class Mapping {
 public:
  Mapping(void* base, std::size_t bytes) : base_(base), bytes_(bytes) {}
  Mapping(const Mapping&) = delete;
  Mapping& operator=(const Mapping&) = delete;
  ~Mapping() { ::munmap(base_, bytes_); }
  const std::int16_t* Values() const { return static_cast<const std::int16_t*>(base_); }

 private:
  void* base_;
  std::size_t bytes_;
};

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { ::close(fd_); }
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string MapProblem(int error) {
  return std::string("cannot map the weight file (") + std::strerror(error) + ")";
}

RegularFileOpening OpenWeightFile(const std::string& path) {
  const RegularFileOpening opening = OpenRegularFile(path);
  switch (opening.failure) {
    case RegularFileOpening::Failure::None:
      return opening;
    case RegularFileOpening::Failure::Open:
    case RegularFileOpening::Failure::Examine:
      throw InputError(path, "cannot open the weight file");
    case RegularFileOpening::Failure::Directory:
      throw InputError(path, "is a directory, not a weight file");
    case RegularFileOpening::Failure::NotRegular:
      break;
  }
  throw InputError(path, "is not a regular file");
}

}  // namespace

Weights LoadWeights(const std::string& path) {
  const RegularFileOpening opening = OpenWeightFile(path);
  const Descriptor file(opening.fd);
  // Zero pages for the whole layout first; the file's pages then replace
  // their front. The bytes of a last, partly filled page beyond the end of
  // the file read as 0.
  void* base = ::mmap(nullptr, WeightFileBytes, PROT_READ,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (base == MAP_FAILED) throw InputError(path, MapProblem(errno));
  auto mapping = std::make_shared<const Mapping>(base, WeightFileBytes);
  const std::size_t fileBytes =
      opening.size < WeightFileBytes ? std::size_t(opening.size) : WeightFileBytes;
  if (fileBytes > 0 &&
      ::mmap(base, fileBytes, PROT_READ, MAP_SHARED | MAP_FIXED, file.get(), 0) == MAP_FAILED)
    throw InputError(path, MapProblem(errno));
  Weights w;
  w.kpp = {mapping->Values(), PackedKppValueCount};
  w.kkp = {mapping->Values() + PackedKppValueCount, KkpValueCount};
  for (int k = 0; k < KingSquareCount; ++k) w.kppBlock[k] = k;
  w.storage = std::move(mapping);
  return w;
}

}  // namespace fv::engine
