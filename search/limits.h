// What one search may spend. A protocol command replaces the whole record
// (a fresh one has no limit at all) and then fills in what its command line
// or its clocks give, so no limit of an earlier search can survive into the
// next. Times are milliseconds, depths whole plies. `ponder` and `infinite`
// also change while the search runs (ponderhit, the end of an analysis);
// only the main thread writes them.
#pragma once

#include <cstdint>

#include "board/types.h"

namespace torvek {

struct SearchLimits {
  unsigned wtime = 0, btime = 0;  // the clocks, 0 = no clock
  unsigned winc = 0, binc = 0;
  unsigned moves_to_go = 0;  // 0 = unknown; the time allocation fills in its guess
  unsigned move_time = 0;    // fixed time per move, 0 = none
  uint64_t node_limit = 0;   // 0 = none
  int depth_limit = 9999;    // raised by the time allocation for a mate search
  unsigned mate_limit = 0;   // mate in this many moves, 0 = none
  bool ponder = false;       // searching on the opponent's time until ponderhit
  bool infinite = false;     // no limit until "stop"
  // Analysing, not playing: the position is searched even when the book
  // knows it, and nothing is learned from it.
  bool analysis = false;
  // Play at this strength (UCI_Elo); 0 = full strength. An analysis ignores it.
  int elo = 0;
  // "go searchmoves": only these root moves are searched; none = all.
  int search_move_count = 0;
  uint16_t search_moves[kMaxMoves] = {};
};

}  // namespace torvek
