// Quiet moves that give check, for the quiescence search: first discovered
// checks (a man standing alone between an own slider and the enemy king
// steps off that line), then direct checks by pieces, then by pawns, then
// castling moves that check. A man that can discover a check is skipped by
// the direct-check passes, so no move is emitted twice.
#include "board/attack.h"
#include "board/make.h"
#include "board/movegen.h"
#include "board/movegen_inline.h"

namespace torvek {

namespace {

// The quiet moves of a man that uncovers a check: every target off the line
// through it and the enemy king.
void discovered_moves(const Board& b, int from, int king, MoveList& list) {
  int code = b.squares[from];
  int line = line_step(king - from);
  if (is_pawn_code(code)) {
    int step = kPawnStepBySide[b.side];
    int row = relative_row(b.side, from);
    int to = from + step;
    if (row == 10 || b.squares[to] != kEmpty || line_step(king - to) == line) return;
    add_move(list, from, to);
    if (row == 5 && b.squares[to + step] == kEmpty) add_move(list, from, to + step);
    return;
  }
  bool slider = code & kSliderBits;
  for (const int* d = stepListOfCode[code]; *d; d++) {
    for (int to = from + *d; b.squares[to] == kEmpty; to += *d) {
      if (slider || line_step(king - to) != line) add_move(list, from, to);
      if (!slider) break;
    }
  }
}

// Every quiet move of a non-pawn piece onto a square from which it attacks
// the king along a clear line.
void direct_moves(const Board& b, int from, int king, MoveList& list) {
  int code = b.squares[from];
  bool slider = code & kSliderBits;
  for (const int* d = stepListOfCode[code]; *d; d++) {
    for (int to = from + *d; b.squares[to] == kEmpty; to += *d) {
      int delta = king - to;
      if (code & attack_mask(delta)) {
        int step = step_of(delta);
        int t = to + step;
        while (t != king && b.squares[t] == kEmpty) t += step;
        if (t == king) add_move(list, from, to);
      }
      if (!slider) break;
    }
  }
}

}  // namespace

void gen_quiet_checks(Board& b, MoveList& list) {
  int s = b.side;
  int e = s ^ 1;
  int king = b.king_square(e);
  int pawn = kPawnCodeBySide[s];
  int step = kPawnStepBySide[s];

  for (const int* p = b.pieceList[s]; *p; p++)
    if (is_pinned(b, e, *p)) discovered_moves(b, *p, king, list);
  for (const int* p = b.pawnList[s]; *p; p++)
    if (is_pinned(b, e, *p)) discovered_moves(b, *p, king, list);

  for (const int* p = b.pieceList[s] + 1; *p; p++)
    if (!is_pinned(b, e, *p)) direct_moves(b, *p, king, list);

  // A pawn checks from the two squares diagonally in front of the king.
  for (int to : {king - step + 1, king - step - 1}) {
    if (b.squares[to] != kEmpty) continue;
    int from = to - step;
    if (b.squares[from] == pawn) {
      if (!is_pinned(b, e, from)) add_move(list, from, to);
    } else if (b.squares[from] == kEmpty && relative_row(s, to) == 7 &&
               b.squares[from - step] == pawn && !is_pinned(b, e, from - step)) {
      add_move(list, from - step, to);
    }
  }

  MoveList castles;
  castles.count = 0;
  gen_castling(b, castles);
  for (int i = 0; i < castles.count; i++) {
    UndoInfo undo;
    make_move(b, castles.moves[i], undo);
    bool check = in_check(b);
    unmake_move(b, castles.moves[i], undo);
    if (check) add_move(list, square64ToBoard[move_from(castles.moves[i])],
                        square64ToBoard[move_to(castles.moves[i])], kKindCastle);
  }
}

}  // namespace torvek
