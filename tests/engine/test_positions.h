// Middle-game positions for the engine tests, rich in drops, promotions,
// checks and pins (SFEN).
#pragma once

#include <array>

namespace fv::engine::testing {

inline constexpr std::array<const char*, 5> TacticalPositions = {
    // Both sides hold a bishop; promotions available for both.
    "ln1g1k1nl/2s2gs2/p1pppp1pp/6p2/1p5P1/2P6/PPSPPPP1P/2G4R1/LN1K1GSNL b Bb 1",
    // Gote to move with a gold pinned by a rook and pieces to drop.
    "4k4/4g4/9/4R4/9/2b6/9/9/4K4 w SPrn2p 1",
    // Sente in check from a knight, hands full of drops.
    "l6nk/6sgl/3p2ppp/9/4+b4/9/2n1P1PPP/6SGL/3K3NL b RGS2Prgsp 1",
    // Promoted pieces on both sides, lances, Gote to move.
    "7nk/1+R5sl/6p1p/2+P6/4+s4/9/3+p5/5L2+r/3KS3B w GN2Pb2gs2p 1",
    // Both kings exposed to rooks and promoted pawns, Gote to move in check.
    "l1g1g1b1p/1+P3s1p1/n1P1p1+Pk1/1s1L1R3/L1p1gPRK1/3p1G1P1/1P1S2p1L/pN1B5/PN4SN1 w 2P2p 1",
};

}  // namespace fv::engine::testing
