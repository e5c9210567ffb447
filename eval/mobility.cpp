// Mobility: squares a piece reaches that are empty or hold an enemy man,
// counted from a per-piece offset so an average piece scores about nothing.
// Rooks also like open files, doubling and the 7th rank when there are pawns
// or the king to attack there; queens the 7th rank likewise.
#include <cstdint>

#include "board/board.h"
#include "board/lines.h"
#include "eval/eval_terms.h"
#include "eval/pawns.h"

namespace torvek {

namespace {

// 1 for an empty square or an enemy man, 0 for an own man or the border.
uint8_t reachable[2][256];


struct Sums {
  int opening = 0, endgame = 0;
};

// Empty squares both ways along the line of `step`, each ray counting its
// end square through `table` (empty or enemy man 1, own man or border 0).
inline int line_reach(const Board& b, const uint8_t* table, int from, int step) {
  int forward, back;
  empty_runs(b, from, step, forward, back);
  return forward + back + table[b.squares[from + step * (forward + 1)]] +
         table[b.squares[from - step * (back + 1)]];
}

void rook_terms(const Board& b, int side, const uint8_t* table, int sq, bool seventhTarget, Sums& s) {
  int ownRook = kRook | colour_bit(side);
  int up, down;
  empty_runs(b, sq, 16, up, down);
  int t = -7 + up + down + table[b.squares[sq + 16 * (up + 1)]];
  int below = b.squares[sq - 16 * (down + 1)];
  if (below == ownRook) {
    s.opening += 25;  // doubled on the file: counted once, by the upper rook
    s.endgame += 25;
  } else {
    t += table[below];
  }
  t += line_reach(b, table, sq, 1);
  int column = column_of(sq);
  if ((b.pawnFiles[0][column] | b.pawnFiles[1][column]) == 0) {
    s.opening += 15;
    s.endgame += 7;
  }
  s.opening += 2 * t;
  s.endgame += 4 * t;
  if (seventhTarget && (row_of(sq) ^ kRankFlipBySide[side]) == 10) {
    int d = t > 0 ? 7 : t + 7;
    s.opening += 3 * d;
    s.endgame += 6 * d;
  }
}

Sums side_mobility(const Board& b, const PawnInfo& p, int side) {
  Sums s;
  const uint8_t* table = reachable[side];
  int enemy = side ^ 1;
  bool seventhTarget = (second_rank_of(p, enemy) & 1) ||
                       (row_of(b.king_square(enemy)) ^ kRankFlipBySide[side]) == 11;
  for (int i = 1; i < b.pieceCount[side]; i++) {
    int sq = b.pieceList[side][i];
    int type = b.squares[sq] & ~3;
    if (type == kKnight) {
      int n = 0;
      for (const int* d = stepListOfCode[WN]; *d; d++) n += table[b.squares[sq + *d]];
      s.opening += 4 * (n - 4) + 2;
      s.endgame += 4 * (n - 4) + 2;
    } else if (type == kBishop) {
      int t = -6 + line_reach(b, table, sq, 17) + line_reach(b, table, sq, 15);
      s.opening += 5 * t + 1;
      s.endgame += 5 * t + 1;
    } else if (type == kRook) {
      rook_terms(b, side, table, sq, seventhTarget, s);
    } else if (type == kQueen) {
      int t = -13 + line_reach(b, table, sq, 17) + line_reach(b, table, sq, 15) +
              line_reach(b, table, sq, 16) + line_reach(b, table, sq, 1);
      s.opening += t;
      s.endgame += 2 * t;
      if (seventhTarget && (row_of(sq) ^ kRankFlipBySide[side]) == 10) {
        s.opening += 12;
        s.endgame += 22;
      }
    }
  }
  return s;
}

}  // namespace

void init_mobility_tables() {
  for (int side = 0; side < 2; side++)
    for (int code = 0; code < 256; code++) {
      int enemyBit = colour_bit(side ^ 1), ownBit = colour_bit(side);
      bool enemyMan = code != kBorder && (code & enemyBit) && !(code & ownBit);
      reachable[side][code] = (code == kEmpty || enemyMan) ? 1 : 0;
    }
}

void add_mobility(const Board& b, const PawnInfo& p, int& opening, int& endgame) {
  Sums w = side_mobility(b, p, kWhite), k = side_mobility(b, p, kBlack);
  opening += (w.opening - k.opening) * b.mobility_weight / 256;
  endgame += (w.endgame - k.endgame) * b.mobility_weight / 256;
}

}  // namespace torvek
