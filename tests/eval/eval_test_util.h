// Shared helpers of the evaluation tests: a board set up from FEN with the
// evaluation parameters at their defaults and the draw values of its side.
#pragma once

#include <string>

#include "board/board.h"
#include "board/fen.h"
#include "eval/eval.h"

namespace torvek {

inline Board& eval_board(const char* fen, Board& b) {
  SetupFEN(b, fen);
  b.LazyEval = true;
  b.LazyEvalLimit = 200;
  b.lazy_null = false;
  reset_eval_weights(b);
  set_draw_scores(b.side);
  return b;
}

// Full-window evaluation from the side to move's view.
inline int eval_of(const char* fen) {
  static Board b;
  eval_board(fen, b);
  return evalu8(b, -30000, 30000);
}

inline int white_eval_of(const char* fen) {
  static Board b;
  eval_board(fen, b);
  int s = evalu8(b, -30000, 30000);
  return b.side == kWhite ? s : -s;
}

}  // namespace torvek
