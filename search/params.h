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
  // Milliseconds of the clock the time limits never spend: the stop is seen
  // only at the next poll, the move still has to reach the GUI, and the time
  // between the GUI's command and the start of the search is not measured.
  // Without it a low clock with a large increment lets every limit reach
  // 90 % of what is left, which a busy machine turns into a lost game. GUIs
  // and bots with a slow line to the server raise it.
  int MoveOverhead = 100;
  // Root lines searched and reported (MultiPV): line k takes the best move
  // that lines 1..k-1 left. 1 is the plain search.
  int MultiPV = 1;
};

extern SearchParams searchParams;

}  // namespace torvek
