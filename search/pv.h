// Principal variations: a move followed by its child's variation, ended by 0.
#pragma once

#include <cstdint>

#include "search/context.h"

namespace torvek {

// `move` then the variation `child` into `pv`, which has room for kPvSize
// entries; a longer child is cut.
inline void copy_pv(uint16_t* pv, int move, const uint16_t* child) {
  pv[0] = static_cast<uint16_t>(move);
  int i = 0;
  while (i < kPvSize - 2 && child[i]) {
    pv[i + 1] = child[i];
    i++;
  }
  pv[i + 1] = 0;
}

}  // namespace torvek
