// Material balance of a position from Sente's side, in evaluation units.
#pragma once

#include <array>
#include <cstdint>

#include "shogi/position.h"

namespace fv {

// Value of each signed piece code, indexed by code + 14; Gote's are negated.
constexpr std::array<std::int32_t, 29> PieceValueTable = {
    -945,  -827, -485, -519, -488, -534, -15000,  // RY UM NG NK NY TO OU
    -642,  -569, -444, -369, -257, -232, -87,     // HI KA KI GI KE KY FU
    0,                                            // empty
    87,    232,  257,  369,  444,  569,  642,     // FU KY KE GI KI KA HI
    15000, 534,  488,  519,  485,  827,  945};    // OU TO NY NK NG UM RY

constexpr std::int32_t PieceValue(PieceCode code) { return PieceValueTable[code + 14]; }

// Sum of the board pieces' values plus the difference of the hands, each hand
// kind at the value of its unpromoted piece. Reads board and hand only.
std::int32_t CountMaterial(const Position& pos);

}  // namespace fv
