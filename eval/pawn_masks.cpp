// The byte tables of the pawn masks, built once at start-up.
#include "eval/pawn_masks.h"

namespace torvek {

uint8_t reversedBits[256];
uint8_t bitCount[256];
uint8_t ranksBelow[10];
uint8_t ranksUpTo[10];
uint8_t ranksAbove[10];
uint8_t rankOnly[10];

void init_pawn_masks() {
  for (int m = 0; m < 256; m++) {
    int reversed = 0, count = 0;
    for (int bit = 0; bit < 8; bit++) {
      if (m & (1 << bit)) {
        reversed |= 1 << (7 - bit);
        count++;
      }
    }
    reversedBits[m] = static_cast<uint8_t>(reversed);
    bitCount[m] = static_cast<uint8_t>(count);
  }
  for (int r = 0; r < 10; r++) {
    bool onBoard = r >= 1 && r <= 8;
    rankOnly[r] = onBoard ? static_cast<uint8_t>(1 << (r - 1)) : 0;
    ranksBelow[r] = onBoard ? static_cast<uint8_t>((1 << (r - 1)) - 1) : (r > 8 ? 0xFF : 0);
    ranksUpTo[r] = onBoard ? static_cast<uint8_t>((1 << r) - 1) : (r > 8 ? 0xFF : 0);
    ranksAbove[r] = onBoard ? static_cast<uint8_t>(0xFF & ~((1 << r) - 1)) : (r < 1 ? 0xFF : 0);
  }
}

}  // namespace torvek
