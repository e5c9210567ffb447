#include "search/lines.h"

#include <algorithm>

#include "search/params.h"

namespace torvek {

RootLines rootLines;

int wanted_root_lines() { return std::clamp(searchParams.MultiPV, 1, kMaxMultiPv); }

// Insertion: a handful of lines, nearly always in order already, and no
// allocation while the search runs.
void sort_root_lines(RootLines& set) {
  for (int i = 1; i < set.count; i++) {
    for (int j = i; j > 0 && set.lines[j].score > set.lines[j - 1].score; j--)
      std::swap(set.lines[j], set.lines[j - 1]);
  }
}

}  // namespace torvek
