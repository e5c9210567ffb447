// The static evaluation: material, piece-square tables, mobility, king
// safety, pawns, passed pawns and piece patterns, each as an opening and an
// endgame sum (white minus black), blended by the material phase. Known
// endings are scored exactly by the recogniser; drawn material is bounded by
// the draw value (contempt) of the side to move.
#pragma once

namespace torvek {

class Board;

// Draw values by side, from that side's own point of view: the root side
// gets -15 / -1 (it plays on), the other side +15 / +1. Each search thread
// sets its own from its root.
extern thread_local int draw_opening[2];
extern thread_local int draw_endgame[2];
void set_draw_scores(int rootSide);

// Score for the side to move in -30000..30000 (the lazy exit may leave that
// range); alpha and beta serve lazy evaluation only.
int evalu8(const Board& b, int alpha, int beta);

// Piece-square tables, mobility tables, caches cleared, weights 256. Once.
void init_eval_tables();
bool eval_tables_built();
// The three evaluation weights of a board back to 100 %.
void reset_eval_weights(Board& b);

// The draw value of the side to move at `phase`, turned to White's view.
int draw_value_white_view(const Board& b, int phase);

}  // namespace torvek
