// Geometry test of a foreign move over the square-difference tables, the
// same reasoning as the killer test but admitting captures, promotions and
// en passant.
#include "search/move_check.h"

#include "board/attack.h"
#include "board/board.h"
#include "board/movegen.h"

namespace torvek {

namespace {

bool path_is_clear(const Board& b, int from, int to) {
  int step = step_of(to - from);
  if (step == 0) return false;
  for (int sq = from + step; sq != to; sq += step)
    if (b.squares[sq] != kEmpty) return false;
  return true;
}

// Row as seen from `side`: 4 = its first rank ... 11 = its eighth.
inline int relative_row(int side, int sq) { return row_of(sq) ^ kRankFlipBySide[side]; }

bool pawn_geometry_ok(const Board& b, int side, int from, int to, bool capture) {
  int step = kPawnStepBySide[side];
  int delta = to - from;
  if (capture) return delta == step + 1 || delta == step - 1;
  if (delta == step) return true;
  return delta == 2 * step && relative_row(side, from) == 5 && b.squares[from + step] == kEmpty;
}

bool castling_ok(Board& b, int side, int from, int to) {
  int home = side == kWhite ? kE1 : kE8;
  if (from != home) return false;
  int right, rookHome;
  if (to == home + 2) {
    right = side == kWhite ? 1 : 4;
    rookHome = home + 3;
  } else if (to == home - 2) {
    right = side == kWhite ? 2 : 8;
    rookHome = home - 4;
  } else {
    return false;
  }
  if (!(b.castle & right)) return false;
  if (b.squares[rookHome] != (kRook | colour_bit(side))) return false;
  if (!path_is_clear(b, from, rookHome)) return false;
  int passing = (from + to) / 2;
  return !is_attacked(b, side ^ 1, from) && !is_attacked(b, side ^ 1, passing);
}

// Chess960 castles are few and their geometry varies: the move must be one
// the generator gives here, out of check as the generator assumes.
bool castling_960_ok(Board& b, int move) {
  return !in_check(b) && is_generated_castle(b, move);
}

}  // namespace

bool is_move_pseudo_legal(Board& b, int move) {
  if (!move_is_ok(move)) return false;
  int kind = move_kind(move);
  if (kind == kKindCastle && b.chess960) return castling_960_ok(b, move);
  if (kind != kKindPromotion && move_promo_bits(move) != 0) return false;
  int side = b.side;
  int from = square64ToBoard[move_from(move)];
  int to = square64ToBoard[move_to(move)];
  int code = b.squares[from];
  if (code == kEmpty || code == kBorder || piece_side(code) != side) return false;
  int target = b.squares[to];
  bool capture = target != kEmpty;
  if (capture && (piece_side(target) == side || (target & kKing))) return false;
  bool pawn = is_pawn_code(code);
  bool lastRank = relative_row(side, to) == 11;
  switch (kind) {
    case kKindCastle:
      return (code & kKing) && !capture && castling_ok(b, side, from, to);
    case kKindEnPassant:
      return pawn && b.epSquare != 0 && to == b.epSquare && !capture &&
             pawn_geometry_ok(b, side, from, to, true);
    case kKindPromotion:
      return pawn && lastRank && pawn_geometry_ok(b, side, from, to, capture);
    default:
      if (pawn) return !lastRank && pawn_geometry_ok(b, side, from, to, capture);
      if (!(code & attack_mask(to - from))) return false;
      if (code & (kKnight | kKing)) return true;
      return path_is_clear(b, from, to);
  }
}

bool is_move_playable(Board& b, int move) {
  return is_move_pseudo_legal(b, move) && pseudo_is_legal(move, b);
}

}  // namespace torvek
