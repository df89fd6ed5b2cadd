#include "engine/weights.h"

#include <bit>
#include <cstdio>
#include <memory>

#include "position/input_error.h"

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

Weights PseudoRandomWeights(std::uint64_t seed, int blocks, int amplitude) {
  Weights w;
  w.kpp.resize(PackedKppBlockSize * std::size_t(blocks));
  w.kkp.resize(KkpValueCount);
  for (int k = 0; k < KingSquareCount; ++k) w.kppBlock[k] = k % blocks;
  std::uint64_t state = seed;
  auto next = [&] {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    const int span = 2 * amplitude + 1;
    return std::int16_t(int((state >> 33) % std::uint64_t(span)) - amplitude);
  };
  for (auto& v : w.kpp) v = next();
  for (auto& v : w.kkp) v = next();
  return w;
}

void SaveWeights(const Weights& w, const std::string& path) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) throw InputError(path, "cannot create the weight file");
  const bool ok = std::fwrite(w.kpp.data(), WeightBytes, w.kpp.size(), file.get()) == w.kpp.size() &&
                  std::fwrite(w.kkp.data(), WeightBytes, w.kkp.size(), file.get()) == w.kkp.size();
  if (!ok) throw InputError(path, "write error");
}

}  // namespace fv::engine
