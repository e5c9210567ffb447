// Small helpers shared by the generators: appending move words built from
// board squares, and the promotion order (queen, knight, rook, bishop).
// A list holds at most 256 moves. Game positions stay far below (the known
// maximum is 218 legal moves), but a set-up position with a dozen queens can
// exceed it; the surplus is dropped rather than written past the list.
#pragma once

#include <initializer_list>

#include "board/board.h"

namespace torvek {

// Bishops, rooks and queens carry at least one of these bits; kings none.
constexpr int kSliderBits = kBishop | kRook;

// Row as seen from `side`: 5 is its second rank, 10 its seventh.
inline int relative_row(int side, int sq) { return row_of(sq) ^ kRankFlipBySide[side]; }

inline void add_move(MoveList& list, int from, int to, int kind = kKindNormal, int promo = 0) {
  if (list.count >= kMaxMoves) return;
  list.moves[list.count++] = static_cast<uint16_t>(
      make_move_word(boardToSquare64[from], boardToSquare64[to], kind, promo));
}

inline void add_promotions(MoveList& list, int from, int to) {
  add_move(list, from, to, kKindPromotion, kPromoQueen);
  add_move(list, from, to, kKindPromotion, kPromoKnight);
  add_move(list, from, to, kKindPromotion, kPromoRook);
  add_move(list, from, to, kKindPromotion, kPromoBishop);
}

// A pawn's captures on its two forward diagonals, as promotions from the
// seventh rank.
inline void add_pawn_captures(const Board& b, MoveList& list, int from, int step, int enemy,
                              bool promotes) {
  for (int to : {from + step - 1, from + step + 1}) {
    if (!(b.squares[to] & enemy)) continue;
    if (promotes)
      add_promotions(list, from, to);
    else
      add_move(list, from, to);
  }
}

}  // namespace torvek
