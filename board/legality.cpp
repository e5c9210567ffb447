// Legality and check questions about single moves: pins, pseudo_is_legal,
// gives_check and the killer test. They answer from the square-difference
// tables where they can and make the move only for the rare kinds (en
// passant, castling, promotion) whose effect on lines is awkward to predict.
#include "board/attack.h"
#include "board/lines.h"
#include "board/make.h"
#include "board/movegen.h"

namespace torvek {

bool is_pinned(const Board& b, int side, int sq) {
  int king = b.king_square(side);
  int d = line_step(king - sq);
  if (d == 0) return false;
  int t = sq + d;
  while (b.squares[t] == kEmpty) t += d;
  if (t != king) return false;
  t = sq - d;
  while (b.squares[t] == kEmpty) t -= d;
  int code = b.squares[t];
  return (code & colour_bit(side ^ 1)) && (code & sliderBitsOfStep[d + 17]);
}

bool pseudo_is_legal(int move, Board& b) {
  int from = square64ToBoard[move_from(move)];
  int to = square64ToBoard[move_to(move)];
  // En passant: two pawns leave the rank at once. Chess960 castling: the
  // rook leaves a square that may have shielded the king's destination.
  // Making the move is the simple truth for both.
  // (Bit 14 marks both kinds: one test on the path of ordinary moves.)
  if ((move & kKindCastle) && (move_kind(move) == kKindEnPassant || b.chess960)) {
    UndoInfo undo;
    make_move(b, move, undo);
    bool legal = !is_attacked(b, b.side, b.king_square(b.side ^ 1));
    unmake_move(b, move, undo);
    return legal;
  }
  int s = b.side;
  int king = b.king_square(s);
  // The king still stands on `from` here; the one square this misjudges, the
  // one straight behind it on a checking slider's line, is never generated
  // as an evasion, and out of check no slider's line runs through the king.
  if (from == king) return !is_attacked(b, s ^ 1, to);
  int line = line_step(king - from);
  if (line == 0) return true;
  // No enemy slider of the line's kind beyond the man: no pin, no walk.
  const uint64_t* sliders = sliderBitsOfStep[line + 17] == kBishop ? b.diagonalSliders : b.straightSliders;
  if (!(rayMask[17 - line][from] & sliders[s ^ 1])) return true;
  if (!is_pinned(b, s, from)) return true;
  return line_step(king - to) == line;
}

bool gives_check(Board& b, int move) {
  if (move_kind(move) != kKindNormal) {
    UndoInfo undo;
    make_move(b, move, undo);
    bool check = in_check(b);
    unmake_move(b, move, undo);
    return check;
  }
  int from = square64ToBoard[move_from(move)];
  int to = square64ToBoard[move_to(move)];
  int king = b.king_square(b.side ^ 1);
  int code = b.squares[from];
  int delta = king - to;
  if (code & attack_mask(delta)) {
    int step = step_of(delta);
    int t = to + step;
    while (t != king && b.squares[t] == kEmpty) t += step;
    if (t == king) return true;
  }
  // Discovered: the mover stood alone between the enemy king and one of its
  // own sliders and leaves that line.
  return is_pinned(b, b.side ^ 1, from) && line_step(delta) != line_step(king - from);
}

bool is_killer_ok(Board& b, int move) {
  if (!move_is_ok(move)) return false;
  int kind = move_kind(move);
  if (kind == kKindCastle) return is_generated_castle(b, move);
  if (kind != kKindNormal) return false;
  int from = square64ToBoard[move_from(move)];
  int to = square64ToBoard[move_to(move)];
  int code = b.squares[from];
  if (!(code & colour_bit(b.side)) || b.squares[to] != kEmpty) return false;
  int delta = to - from;
  if (!is_pawn_code(code)) {
    if (!(code & attack_mask(delta))) return false;
    int step = step_of(delta);
    for (int t = from + step; t != to; t += step)
      if (b.squares[t] != kEmpty) return false;
    return true;
  }
  if (backRank[to]) return false;
  int step = kPawnStepBySide[b.side];
  if (delta == step) return true;
  return delta == 2 * step && (row_of(from) ^ kRankFlipBySide[b.side]) == 5 &&
         b.squares[from + step] == kEmpty;
}

}  // namespace torvek
