// What a finished search hands back to the protocol that started it: the
// answer and the variation it rests on, the statistics of the final report,
// and the facts about the root position that tell whether the game is over
// there. The protocols print from this record alone, so they need to know
// nothing of how the search keeps its state.
#pragma once

#include <cstdint>

#include "search/context.h"

namespace torvek {

struct SearchResult {
  int score = kNoScore;
  int best_move = 0;        // 0 = none
  int ponder_move = 0;      // the expected reply, 0 = none
  uint16_t pv[kPvSize] = {};  // from the root, ended by 0
  int depth = 0;            // the last iteration begun
  int multi_pv = 1;         // root lines the search reported (MultiPV)
  double nodes = 0;
  double elapsed_ms = 0;
  double nps = 0;
  double hashfull = 0;      // per mille of the transposition table in use
  int side = 0;             // the side to move at the root: the engine's
  int fifty = 0;            // the root position's half-move clock
  bool no_legal_move = false;
  bool in_check = false;      // at the root
  bool draw_by_rule = false;  // the root position is drawn by the fifty-move rule or a repetition
};

// The result of the search that just ended in `sc`, which returned `score`.
// Non-const: the draw test makes and takes back moves on the search board.
SearchResult search_result(SearchContext& sc, int score);

}  // namespace torvek
