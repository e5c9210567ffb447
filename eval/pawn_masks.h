// Byte tables over the per-file pawn masks. A mask holds one bit per relative
// rank (bit k = rank k + 1 as seen from the mask's side), so one code path
// serves both colours; the opponent's mask is brought into the same ranks by
// reversing its eight bits.
#pragma once

#include <cstdint>

namespace torvek {

extern uint8_t reversedBits[256];
extern uint8_t bitCount[256];

// Ranks 1..r-1 / 1..r / r+1..8 / exactly r, for r = 1..8 (index 0 and 9 are 0).
extern uint8_t ranksBelow[10];
extern uint8_t ranksUpTo[10];
extern uint8_t ranksAbove[10];
extern uint8_t rankOnly[10];

// Built once at start-up with the other fixed tables.
void init_pawn_masks();

}  // namespace torvek
