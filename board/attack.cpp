// Placeholder attack test by plain ray walking; replaced by the
// square-difference tables.
#include "board/attack.h"

#include "board/board.h"

namespace torvek {

void init_attack_tables() {}

bool is_attacked(const Board& b, int side, int sq) {
  int pawn = kPawnCodeBySide[side], step = kPawnStepBySide[side];
  if (b.squares[sq - step + 1] == pawn || b.squares[sq - step - 1] == pawn) return true;
  for (int i = 0; i < b.pieceCount[side]; i++) {
    int from = b.pieceList[side][i];
    int code = b.squares[from];
    bool slider = (code & (kBishop | kRook)) != 0 && (code & kKing) == 0;
    for (const int* d = stepListOfCode[code]; *d; d++) {
      if ((code & kKing) == 0 && (code & kKnight) == 0) {
        bool diag = (*d == 15 || *d == 17 || *d == -15 || *d == -17);
        if (diag && !(code & kBishop)) continue;
        if (!diag && !(code & kRook)) continue;
      }
      int to = from + *d;
      while (true) {
        if (to == sq) return true;
        if (!slider || b.squares[to] != kEmpty) break;
        to += *d;
      }
    }
  }
  return false;
}

bool in_check(const Board& b) { return is_attacked(b, b.side ^ 1, b.king_square(b.side)); }

}  // namespace torvek
