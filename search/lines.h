// The several best root lines of a MultiPV search. The main thread alone
// searches them (helpers only fill the shared table), so one set of lines
// serves the whole engine: the lines of the last completed iteration, best
// first. Line 1 is also the search's own best move and variation.
#pragma once

#include <cstdint>

#include "search/context.h"

namespace torvek {

constexpr int kMaxMultiPv = 256;

struct RootLine {
  int score = kNoScore;
  uint16_t pv[kPvSize] = {};  // from the root, ended by 0
};

struct RootLines {
  int count = 0;
  RootLine lines[kMaxMultiPv];
};

extern RootLines rootLines;

// The lines a search asks for: MultiPV within 1..kMaxMultiPv.
int wanted_root_lines();
// Orders lines[0..count) by score, best first, keeping the order of equal
// scores (a later line that a deeper look found better moves up).
void sort_root_lines(RootLines& lines);

}  // namespace torvek
