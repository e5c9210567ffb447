// Piece-square values by piece index * 64 + square, carrying the sign of the
// colour (black entries are negative). The board keeps their sums
// incrementally; the evaluation fills the tables once, at the first search
// reset, so positions set up before that have zero sums.
#pragma once

#include <cstdint>

namespace torvek {

extern int16_t pstOpening[768];
extern int16_t pstEndgame[768];

}  // namespace torvek
