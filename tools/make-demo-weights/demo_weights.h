// Demonstration weights: a deterministic weight file whose weights follow a
// few plain shogi ideas (see docs/demo-weights.md), so that a ranking of terms
// reads as those ideas. All amounts are in evaluation units; the file holds
// them times WeightScale.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace fv {

// Weight of KKP feature `feature` for the own king on `king` and the other
// king on `otherKing` (view squares).
std::int16_t DemoKkpWeight(int king, int otherKing, int feature);

// Fills one packed KPP block (PackedKppBlockSize values) for `king`.
void FillDemoKppBlock(int king, std::span<std::int16_t> block);

// Writes the whole weight file to `path` in one buffered pass. Throws
// std::runtime_error naming the problem when the file cannot be written.
void WriteDemoWeights(const std::string& path);

}  // namespace fv
