// The engine's weight file, opened once before the engine runs and read later,
// when the leaf is known, for just the weights that one evaluation needs: the
// packed KPP block and the KKP row of each side's king view (about 4.4 MB of
// the 186 MB file). The file belongs to the engine and is only ever read.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "eval/weight_layout.h"

namespace fv {

// The weights of one king view: the packed KPP triangle of the view's king
// square and the KKP row of that king against the other king.
struct ViewWeights {
  std::vector<std::int16_t> kpp;  // PackedKppBlockSize values
  std::array<std::int16_t, KkpFeatureCount> kkp{};

  // Weight of the KPP pair (i, j); (i, j) and (j, i) are the same weight.
  std::int16_t Kpp(int i, int j) const { return kpp[PackedPairIndex(i, j)]; }
};

// The weights of one evaluation: the Sente view (own king on the Sente king's
// square) and the Gote view (squares turned half a board).
struct LeafWeights {
  ViewWeights sente;
  ViewWeights gote;
};

class WeightFile {
 public:
  // Opens and checks the file. A missing, unreadable or non-regular file throws
  // InputError. A size other than WeightFileBytes writes one warning line to
  // `warnings` (if not null); weights that the file does not reach read as 0.
  static WeightFile Open(const std::string& path, std::FILE* warnings);

  WeightFile(WeightFile&& other) noexcept;
  WeightFile& operator=(WeightFile&& other) noexcept;
  WeightFile(const WeightFile&) = delete;
  WeightFile& operator=(const WeightFile&) = delete;
  ~WeightFile();

  const std::string& path() const { return path_; }
  std::uint64_t size() const { return size_; }

  // Reads the weights of both king views for kings on the board squares
  // `senteKing` and `goteKing` (0..80; others throw std::out_of_range). Warns
  // once more if the file's size has changed since Open, as the engine ran in
  // between. A read error throws InputError.
  LeafWeights ReadLeafWeights(int senteKing, int goteKing) const;

  // Reads `out.size()` consecutive values starting at value index `first`;
  // bytes beyond the end of the file read as 0.
  void ReadValues(std::uint64_t first, std::span<std::int16_t> out) const;

 private:
  WeightFile(std::string path, int fd, std::uint64_t size, std::FILE* warnings)
      : path_(std::move(path)), fd_(fd), size_(size), warnings_(warnings) {}

  // The weights of the view with its own king on `king` and the other king on
  // `otherKing`, both squares as the view takes them.
  ViewWeights ReadView(int king, int otherKing) const;

  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::FILE* warnings_ = nullptr;
};

}  // namespace fv
