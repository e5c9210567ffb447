// What the search needs from the evaluation: the static score, the material
// phase behind the draw scores, the per-side draw values and the recognised
// dead draws.
#pragma once

namespace torvek {

class Board;

int evalu8(Board& b, int alpha, int beta);
bool is_recognized_draw(Board& b);
void set_draw_scores(int rootSide);
void init_eval_tables();
// Endgame weight 0 (all pieces on) .. 256 (bare kings and pawns).
int material_phase(Board& b);
extern int draw_opening[2];

}  // namespace torvek
