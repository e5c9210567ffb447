// Recognised endings: exact scores for endings whose outcome is known (the
// KPK bitbase, KBN mate, dead draws) and the two cannot-win flags that bound
// the score of drawish material. The search asks is_recognized_draw to cut
// dead-drawn positions.
#pragma once

namespace torvek {

class Board;
struct MaterialInfo;
struct PawnInfo;

struct Recognition {
  bool exact;
  int score;  // White's view; valid when exact
  bool cannotWin[2];
};

Recognition recognise_endgame(const Board& b, const MaterialInfo& m, const PawnInfo& p);
bool is_recognized_draw(const Board& b);

// The geometry of the individual rules, for the recogniser and its tests.
// `side` is the side with the pawn (or with the pieces for KBN).
int kbn_mate_score(const Board& b, int strongSide);
bool wrong_rook_pawn_draw(const Board& b, int pawnSide);
bool queen_v_pawn_draw(const Board& b, int pawnSide);
bool rook_v_pawn_draw(const Board& b, int pawnSide);
bool knight_rook_pawn_draw(const Board& b, int pawnSide);
bool rook_pawn_v_rook_draw(const Board& b, int pawnSide);

}  // namespace torvek
