// Checks for moves that come from outside the position at hand: a table slot
// keeps only half of a position's key, so now and then a probe answers for
// another position and its move may be nonsense here. Such a move must never
// reach make_move.
#pragma once

namespace torvek {

class Board;

// The move could have been generated here: a man of the side to move on the
// from-square, a to-square it reaches over empty squares that is empty or
// holds an enemy man (never a king), and a kind that fits (promotions only
// onto the last rank, en passant only onto the en-passant square, castling
// only with its right, an empty path and no attacked king or passing
// square). Says nothing about leaving the own king in check.
bool is_move_pseudo_legal(Board& b, int move);
// Pseudo-legal as above and does not leave the mover's king attacked.
bool is_move_playable(Board& b, int move);

}  // namespace torvek
