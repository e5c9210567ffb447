// The engine parameters that the search reads, in the search's own units:
// depths in 1/64 ply, HistoryValue as a fraction of 16384. The option tables
// convert the user's values (hundredths of a ply, percentages) into these.
#pragma once

namespace torvek {

struct SearchParams {
  int NullStartDepth = 128;  // 2 plies: no null move below
  int NullReduction = 192;   // 3 plies
  bool NullEval = true;      // null move only when the static score reaches beta
  bool LazyNull = false;     // lazy evaluation under a null move that drops into quiescence
  int LMRStartDepth = 192;   // 3 plies
  int LMRMoveNumber = 3;     // moves searched before reductions start
  int LMRreduction = 64;     // 1 ply
  bool LMRresearch = true;   // re-search a reduced move that beat alpha
  int HistoryValue = 9830;   // 60 %: history ratio below which moves are reduced or pruned
  bool Ponder = true;        // pondering expected: fewer moves assumed per time control
  bool OwnBook = true;       // consult the opening book at the root
  int LearnDepth = 6;        // positions kept for learning per game
};

extern SearchParams searchParams;

}  // namespace torvek
