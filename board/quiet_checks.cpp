// Quiet moves that give check, for the quiescence search: first discovered
// checks (a man standing alone between an own slider and the enemy king
// steps off that line), then direct checks by pieces, then by pawns, then
// castling moves that check. A man that can discover a check is skipped by
// the direct-check passes, so no move is emitted twice.
#include <cstdint>
#include <cstring>

#include "board/attack.h"
#include "board/lines.h"
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

// The empty squares from which a man attacks the enemy king along a clear
// line or by a jump, as the type bits of the men that would (knight, bishop,
// rook; a queen has both line bits). Built once per call from the king's
// side, so that the walks of the pieces only read it.
struct CheckSquares {
  uint8_t bits[256];

  CheckSquares(const Board& b, int king) {
    std::memset(bits, 0, sizeof bits);
    for (int d : {-17, -16, -15, -1, 1, 15, 16, 17}) {
      uint8_t bit = static_cast<uint8_t>(sliderBitsOfStep[d + 17]);
      int end = ray_end(b, king, d);
      for (int to = king + d; to != end; to += d) bits[to] |= bit;
    }
    for (const int* d = stepListOfCode[WN]; *d; d++)
      if (b.squares[king + *d] == kEmpty) bits[king + *d] |= kKnight;
  }
};

// Every quiet move of a non-pawn piece onto a square from which it attacks
// the king along a clear line.
void direct_moves(const Board& b, int from, const CheckSquares& checks, MoveList& list) {
  int code = b.squares[from];
  if (!(code & kSliderBits)) {
    for (const int* d = stepListOfCode[code]; *d; d++)
      if (checks.bits[from + *d] & code) add_move(list, from, from + *d);
    return;
  }
  for (const int* d = stepListOfCode[code]; *d; d++) {
    int end = ray_end(b, from, *d);
    for (int to = from + *d; to != end; to += *d)
      if (checks.bits[to] & code) add_move(list, from, to);
  }
}

}  // namespace

void gen_quiet_checks(Board& b, MoveList& list) {
  int s = b.side;
  int e = s ^ 1;
  int king = b.king_square(e);
  int pawn = kPawnCodeBySide[s];
  int step = kPawnStepBySide[s];

  // Whether each piece can uncover a check, asked once for both passes; not
  // at all when no own slider stands on a line of its kind through the king.
  bool uncovers[32];
  bool discovers =
      ((diagonalLinesOf[king] & b.diagonalSliders[s]) | (straightLinesOf[king] & b.straightSliders[s])) != 0;
  for (int i = 0; b.pieceList[s][i]; i++) {
    uncovers[i] = discovers && is_pinned(b, e, b.pieceList[s][i]);
    if (uncovers[i]) discovered_moves(b, b.pieceList[s][i], king, list);
  }
  for (const int* p = b.pawnList[s]; discovers && *p; p++)
    if (is_pinned(b, e, *p)) discovered_moves(b, *p, king, list);

  CheckSquares checks(b, king);
  for (int i = 1; b.pieceList[s][i]; i++)
    if (!uncovers[i]) direct_moves(b, b.pieceList[s][i], checks, list);

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
