#include "engine/weights.h"

#include <bit>
#include <cstdio>
#include <memory>

#include "io/input_error.h"

namespace fv::engine {
namespace {

static_assert(std::endian::native == std::endian::little, "the weight file is little-endian");

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void IdentityBlocks(Weights& w) {
  for (int k = 0; k < KingSquareCount; ++k) w.kppBlock[k] = k;
}


}  // namespace

Weights LoadWeights(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) throw InputError(path, "cannot open the weight file");
  Weights w;
  w.kpp.assign(PackedKppValueCount, 0);
  w.kkp.assign(KkpValueCount, 0);
  IdentityBlocks(w);
  // A short read leaves the rest of the tables zero.
  const std::size_t kppRead = std::fread(w.kpp.data(), WeightBytes, w.kpp.size(), file.get());
  if (kppRead == w.kpp.size()) (void)std::fread(w.kkp.data(), WeightBytes, w.kkp.size(), file.get());
  if (std::ferror(file.get())) throw InputError(path, "read error");
  return w;
}

}  // namespace fv::engine
