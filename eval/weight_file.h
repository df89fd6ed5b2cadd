// The engine's weight file, opened once before the engine runs and read later,
// when the leaf is known, for just the weights that one evaluation needs: in
// each side's king view, the packed KPP rows of the leaf's features and the
// KKP row of the two kings (well under 1 MB of the 186 MB file). The file
// belongs to the engine and is only ever read.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "eval/weight_layout.h"
#include "position/notice.h"

namespace fv {

// The weights of one king view: some rows of the packed KPP triangle of the
// view's king square (row m holds the pairs (m, 0..m)), and the KKP row of
// that king against the other king.
struct ViewWeights {
  static constexpr std::array<std::int32_t, KppFeatureCount> NoRows() {
    std::array<std::int32_t, KppFeatureCount> rows{};
    rows.fill(-1);
    return rows;
  }

  std::array<std::int32_t, KppFeatureCount> rowStart = NoRows();  // into kppRows; -1: row not read
  std::vector<std::int16_t> kppRows;
  std::array<std::int16_t, KkpFeatureCount> kkp{};

  // Weight of the KPP pair (i, j), the same as (j, i). Throws
  // std::out_of_range unless the row of the larger index was read.
  std::int16_t Kpp(int i, int j) const {
    const int m = i > j ? i : j;
    const int n = i > j ? j : i;
    if (n < 0 || m >= KppFeatureCount || rowStart[m] < 0)
      throw std::out_of_range("KPP row not read");
    return kppRows[std::size_t(rowStart[m] + n)];
  }
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
  // InputError. Weights that the file does not reach read as 0 and bytes
  // beyond the layout are ignored (see SizeNotice).
  static WeightFile Open(const std::string& path);

  WeightFile(WeightFile&& other) noexcept;
  WeightFile& operator=(WeightFile&& other) noexcept;
  WeightFile(const WeightFile&) = delete;
  WeightFile& operator=(const WeightFile&) = delete;
  ~WeightFile();

  std::uint64_t size() const { return size_; }

  // A warning when the file opened has another size than WeightFileBytes.
  std::optional<Notice> SizeNotice() const;
  // A warning when the file's size is no longer the one it had when opened
  // (the engine ran in between).
  std::optional<Notice> SizeChangeNotice() const;

  // Reads the weights of both king views for kings on the board squares
  // `senteKing` and `goteKing` (0..80): in each view the KPP rows of the given
  // feature indices (0..1475) and the KKP row. Out-of-range arguments throw
  // std::out_of_range. A read error throws InputError.
  LeafWeights ReadLeafWeights(int senteKing, int goteKing,
                              std::span<const std::int16_t> senteFeatures,
                              std::span<const std::int16_t> goteFeatures) const;

  // Reads `out.size()` consecutive values starting at value index `first`;
  // bytes beyond the end of the file read as 0.
  void ReadValues(std::uint64_t first, std::span<std::int16_t> out) const;

 private:
  WeightFile(std::string path, int fd, std::uint64_t size)
      : path_(std::move(path)), fd_(fd), size_(size) {}

  // The weights of the view with its own king on `king` and the other king on
  // `otherKing`, both squares as the view takes them.
  ViewWeights ReadView(int king, int otherKing, std::span<const std::int16_t> features) const;

  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

}  // namespace fv
