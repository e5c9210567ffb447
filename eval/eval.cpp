// evalu8: the static evaluation at every leaf of the search. Each term is a
// pair of white-minus-black sums (opening, endgame) blended by the material
// phase. Known endings return exact scores; drawish material is bounded by
// the draw value. WARNING: every draw value is held from its own side's
// view, so it is turned to White's view before it bounds or replaces the
// white-view score; the final negation then hands the side to move its own
// draw value (the root side sees its contempt whichever colour it plays).
#include "eval/eval.h"

#include <algorithm>

#include "board/board.h"
#include "core/globals.h"
#include "core/guards.h"
#include "core/output.h"
#include "eval/endgame.h"
#include "eval/eval_terms.h"
#include "eval/material.h"
#include "eval/pawns.h"
#include "eval/term_cache.h"

namespace torvek {

thread_local int draw_opening[2];
thread_local int draw_endgame[2];

namespace {

bool tablesBuilt = false;

// Side flags that ask the recogniser for something (cannot-win or a draw test).
constexpr int kRecogniserFlags = kCannotWin | kRookPawnDrawTest | kBlockadeDrawTest | kKnightPawnDrawTest;

struct Running {
  int opening = 0, endgame = 0;
};

inline int blend(int phase, int opening, int endgame) {
  return ((256 - phase) * opening + phase * endgame) / 256;
}

int evaluate(const Board& b, int alpha, int beta, Running& run) {
  term_cache_prefetch(b);
  // 1. Material and piece-square sums.
  const MaterialInfo& m = material_probe(b);
  int& opening = run.opening;
  int& endgame = run.endgame;
  opening = m.material_opening + b.pst_opening;
  endgame = m.material_endgame + b.pst_endgame;
  const int phase = m.phase;

  // 2. Pawn structure.
  const PawnInfo& p = pawn_probe(b);
  opening += p.pawn_opening;
  endgame += p.pawn_endgame;

  // 3. Recognised endings: exact scores, or the cannot-win flags.
  bool cannotWin[2] = {false, false};
  if (m.endgame_code || ((m.white_flags | m.black_flags) & kRecogniserFlags)) {
    Recognition r = recognise_endgame(b, m, p);
    if (r.exact) return b.side == kWhite ? r.score : -r.score;
    cannotWin[kWhite] = r.cannotWin[kWhite];
    cannotWin[kBlack] = r.cannotWin[kBlack];
  }

  // 4. Lazy exit with enough pieces on the board for the rest to matter little.
  if (b.LazyEval && b.pieceCount[kWhite] > 3 && b.pieceCount[kBlack] > 3) {
    int lazy = blend(phase, opening, endgame);
    if (b.side == kBlack) lazy = -lazy;
    if (b.lazy_null) return lazy;
    if (lazy > beta + b.LazyEvalLimit || lazy < alpha - b.LazyEvalLimit) return lazy;
  }

  // 5. Mobility, king safety, passed pawns, patterns.
  TermSums terms;
  if (!term_cache_probe(b, terms)) {
    terms = {0, 0};
    add_mobility(b, p, terms.opening, terms.endgame);
    add_king_safety(b, m, terms.opening, terms.endgame);
    evalu8Passer(b, p, terms.opening, terms.endgame);
    add_piece_patterns(b, terms.opening, terms.endgame);
    term_cache_store(b, terms);
  }
  opening += terms.opening;
  endgame += terms.endgame;

  // 6. Taper.
  int score = blend(phase, opening, endgame);

  // 7. Bishops of opposite colours draw a lot.
  if (m.flags & kOppositeBishops) {
    int w = b.pieceList[kWhite][1], k = b.pieceList[kBlack][1];
    if (((row_of(w) + column_of(w)) & 1) != ((row_of(k) + column_of(k)) & 1)) score /= 5;
  }

  // 8. A side that cannot win gets at most a draw.
  int draw = draw_value_white_view(b, phase);
  if (cannotWin[kWhite])
    score = std::min(score, draw);
  else if (cannotWin[kBlack])
    score = std::max(score, draw);

  // 9. Clamp, and turn to the side to move.
  score = std::clamp(score, -30000, 30000);
  return b.side == kWhite ? score : -score;
}

}  // namespace

void set_draw_scores(int rootSide) {
  draw_opening[rootSide] = -15;
  draw_endgame[rootSide] = -1;
  draw_opening[rootSide ^ 1] = 15;
  draw_endgame[rootSide ^ 1] = 1;
}

int draw_value_white_view(const Board& b, int phase) {
  int own = blend(phase, draw_opening[b.side], draw_endgame[b.side]);
  return b.side == kWhite ? own : -own;
}

int evalu8(const Board& b, int alpha, int beta) {
  Running run;
  auto fill = [&](GuardFrame& frame) {
    frame.status = 32;
    frame.live[0] = &run.opening;
    frame.live[1] = &run.endgame;
  };
  return guarded_in_winboard(GuardKind::kEvalu8, fill,
                             [&] { return evaluate(b, alpha, beta, run); });
}

void reset_eval_weights(Board& b) {
  b.mobility_weight = 256;
  b.king_safety_weight = 256;
  b.passer_weight = 256;
}

void init_eval_tables() {
  init_piece_square_tables();
  init_mobility_tables();
  init_king_safety_tables();
  clear_material_table();
  clear_pawn_table();
  clear_term_cache();
  pawn_weight = 256;
  reset_eval_weights(topBoard);
  tablesBuilt = true;
}

bool eval_tables_built() { return tablesBuilt; }

}  // namespace torvek
