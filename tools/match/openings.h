// The opening set of a match: one opening a line, as USI moves from the start
// position ("7g7f 3c3d 2g2f"); blank lines and lines starting with '#' are skipped.
#pragma once

#include <string>
#include <vector>

namespace fv::match {

using Opening = std::vector<std::string>;

// Reads and checks the openings of `path`: every move legal, the game not
// over after them, at most MaxOpeningPlies plies. Throws InputError naming
// the file, the line and the problem; a file without openings is refused.
std::vector<Opening> ReadOpenings(const std::string& path);

constexpr int MaxOpeningPlies = 64;

}  // namespace fv::match
