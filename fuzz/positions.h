// Positions the file targets probe: the start, a few opening moves (where
// books built from games have entries) and a quiet middlegame.
#pragma once

namespace torvek::fuzz {

constexpr const char* kProbePositions[] = {
    "position startpos",
    "position startpos moves e2e4",
    "position startpos moves e2e4 e7e5 g1f3",
    "position startpos moves d2d4 g8f6 c2c4",
    "position fen r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
};

}  // namespace torvek::fuzz
