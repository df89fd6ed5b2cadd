#include "engine/transposition_table.h"

#include <algorithm>
#include <new>

namespace fv::engine {

TranspositionTable::TranspositionTable(std::size_t megabytes) {
  std::size_t count = 1;
  while (count * 2 * sizeof(TableEntry) <= megabytes * 1024 * 1024) count *= 2;
  entries_.reset(static_cast<TableEntry*>(std::calloc(count, sizeof(TableEntry))));
  if (!entries_) throw std::bad_alloc();
  mask_ = count - 1;
}

int TranspositionTable::Permille() const {
  const std::size_t sample = std::min<std::size_t>(mask_ + 1, 1000);
  std::size_t used = 0;
  for (std::size_t i = 0; i < sample; ++i) used += entries_[i].bound != Bound::None;
  return int(used * 1000 / sample);
}

void TranspositionTable::Store(std::uint64_t key, Move move, int score, int depth, Bound bound) {
  TableEntry& e = entries_[key & mask_];
  if (e.key == key && e.depth > depth && bound != Bound::Exact) return;
  if (move == NoMove && e.key == key) move = e.move;
  e = {key, move, score, std::int16_t(depth), bound};
}

}  // namespace fv::engine
