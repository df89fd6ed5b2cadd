// A hash table of search results keyed by the position's Zobrist key.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "shogi/types.h"

namespace fv::engine {

enum class Bound : std::uint8_t { None, Upper, Lower, Exact };

struct TableEntry {
  std::uint64_t key = 0;
  Move move = NoMove;
  std::int32_t score = 0;  // mate scores relative to the entry's position
  std::int16_t depth = 0;
  Bound bound = Bound::None;
};

class TranspositionTable {
 public:
  // Room for about `megabytes` of entries, rounded down to a power of two.
  explicit TranspositionTable(std::size_t megabytes);

  // The entry stored for `key`, or nullptr.
  const TableEntry* Probe(std::uint64_t key) const {
    const TableEntry& e = entries_[key & mask_];
    return e.bound != Bound::None && e.key == key ? &e : nullptr;
  }
  // Forgets every entry.
  void Clear() { std::fill_n(entries_.get(), mask_ + 1, TableEntry{}); }
  // Per mille of the first thousand entries in use: a cheap estimate of the filling.
  int Permille() const;
  // Stores a result; a deeper result for the same position is kept.
  void Store(std::uint64_t key, Move move, int score, int depth, Bound bound);

 private:
  struct Free {
    void operator()(TableEntry* p) const { std::free(p); }
  };
  // Zeroed memory from calloc: all-zero bytes are empty entries, and the
  // pages are only touched as the search fills them.
  std::unique_ptr<TableEntry[], Free> entries_;
  std::uint64_t mask_;
};

}  // namespace fv::engine
