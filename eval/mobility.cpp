// Mobility: squares a piece reaches that are empty or hold an enemy man,
// counted from a per-piece offset so an average piece scores about nothing.
// Rooks also like open files, doubling and the 7th rank when there are pawns
// or the king to attack there; queens the 7th rank likewise.
#include <cstdint>

#include "board/board.h"
#include "board/lines.h"
#include "eval/eval_terms.h"
#include "eval/pawn_masks.h"
#include "eval/pawns.h"

namespace torvek {

namespace {

// By a line's occupancy byte (absent positions set) and a position on it:
// the positions a slider there reaches, up to and including the first
// occupied one each way.
uint8_t lineReach[256][8];
// The squares a knight reaches from each square.
uint64_t knightReach[64];

struct Sums {
  int opening = 0, endgame = 0;
};

// A line's men as a byte, one bit per position along it (see board/lines.h):
// a rank by a shift, a file by a multiplication that stacks its bits, a
// diagonal by one that adds up its bytes.
inline unsigned rank_byte(uint64_t word, int sq64) { return (word >> (sq64 & 56)) & 0xFF; }
inline unsigned file_byte(uint64_t word, int sq64) {
  return static_cast<unsigned>((((word >> (sq64 & 7)) & 0x0101010101010101ull) * 0x0102040810204080ull) >> 56);
}
inline unsigned diagonal_byte(uint64_t word, uint64_t mask) {
  return static_cast<unsigned>(((word & mask) * 0x0101010101010101ull) >> 56);
}

// Squares reached along a line (both ways) that are empty or hold an enemy
// man: the reached positions less the own men and the positions the line
// lacks.
inline int reach_count(unsigned occupied, unsigned blocked, int pos) {
  return bitCount[lineReach[occupied][pos] & ~blocked];
}
inline int rank_reach(const Board& b, uint64_t own, int sq64) {
  return reach_count(rank_byte(b.occupied, sq64), rank_byte(own, sq64), sq64 & 7);
}
inline int file_reach(const Board& b, uint64_t own, int sq64) {
  return reach_count(file_byte(b.occupied, sq64), file_byte(own, sq64), sq64 >> 3);
}
// `line` 2 is the diagonal of step 17, 3 the one of step 15.
inline int diagonal_reach(const Board& b, uint64_t own, int sq64, int line) {
  const LineView& v = lineViews[line][sq64];
  return reach_count(diagonal_byte(b.occupied, v.mask) | v.outside,
                     diagonal_byte(own, v.mask) | v.outside, sq64 & 7);
}

inline int popcount64(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ull;
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

void rook_terms(const Board& b, int side, uint64_t own, int sq, bool seventhTarget, Sums& s) {
  int sq64 = boardToSquare64[sq];
  unsigned occupied = file_byte(b.occupied, sq64);
  int rank = sq64 >> 3;
  unsigned reach = lineReach[occupied][rank];
  int t = -7 + bitCount[reach & ~file_byte(own, sq64)] + rank_reach(b, own, sq64);
  // The lowest square reached below; a man there is what stops the ray.
  unsigned lower = reach & ((1u << rank) - 1);
  if (lower) {
    int bottom = __builtin_ctz(lower);
    if ((occupied >> bottom & 1) &&
        b.squares[square64ToBoard[bottom * 8 + (sq64 & 7)]] == (kRook | colour_bit(side))) {
      s.opening += 25;  // doubled on the file: counted once, by the upper rook
      s.endgame += 25;
    }
  }
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

Sums side_mobility(const Board& b, const PawnInfo& p, int side, uint64_t own) {
  Sums s;
  int enemy = side ^ 1;
  bool seventhTarget = (second_rank_of(p, enemy) & 1) ||
                       (row_of(b.king_square(enemy)) ^ kRankFlipBySide[side]) == 11;
  // The list holds the king, then queens, rooks, bishops and knights (it is
  // kept sorted by code): each kind is a run of known length.
  const int* men = b.pieceList[side] + 1;
  int colour = colour_bit(side);
  for (const int* end = men + b.typeCount[pieceIndexOfCode[kQueen | colour]]; men < end; men++) {
    int sq64 = boardToSquare64[*men];
    int t = -13 + diagonal_reach(b, own, sq64, 2) + diagonal_reach(b, own, sq64, 3) +
            file_reach(b, own, sq64) + rank_reach(b, own, sq64);
    s.opening += t;
    s.endgame += 2 * t;
    if (seventhTarget && (row_of(*men) ^ kRankFlipBySide[side]) == 10) {
      s.opening += 12;
      s.endgame += 22;
    }
  }
  for (const int* end = men + b.typeCount[pieceIndexOfCode[kRook | colour]]; men < end; men++)
    rook_terms(b, side, own, *men, seventhTarget, s);
  for (const int* end = men + b.typeCount[pieceIndexOfCode[kBishop | colour]]; men < end; men++) {
    int sq64 = boardToSquare64[*men];
    int t = -6 + diagonal_reach(b, own, sq64, 2) + diagonal_reach(b, own, sq64, 3);
    s.opening += 5 * t + 1;
    s.endgame += 5 * t + 1;
  }
  for (; *men; men++) {
    int n = popcount64(knightReach[boardToSquare64[*men]] & ~own);
    s.opening += 4 * (n - 4) + 2;
    s.endgame += 4 * (n - 4) + 2;
  }
  return s;
}

void init_line_reach() {
  for (int occ = 0; occ < 256; occ++) {
    for (int p = 0; p < 8; p++) {
      unsigned reach = 0;
      for (int q = p + 1; q < 8; q++) {
        reach |= 1u << q;
        if (occ & (1 << q)) break;
      }
      for (int q = p - 1; q >= 0; q--) {
        reach |= 1u << q;
        if (occ & (1 << q)) break;
      }
      lineReach[occ][p] = static_cast<uint8_t>(reach);
    }
  }
  for (int sq = 0; sq < 64; sq++) {
    knightReach[sq] = 0;
    for (const int* d = stepListOfCode[WN]; *d; d++) {
      int to64 = boardToSquare64[square64ToBoard[sq] + *d];
      if (to64 >= 0) knightReach[sq] |= 1ull << to64;
    }
  }
}

}  // namespace

void init_mobility_tables() { init_line_reach(); }

void add_mobility(const Board& b, const PawnInfo& p, int& opening, int& endgame) {
  Sums w = side_mobility(b, p, kWhite, b.occupiedBy[kWhite]);
  Sums k = side_mobility(b, p, kBlack, b.occupiedBy[kBlack]);
  opening += (w.opening - k.opening) * b.mobility_weight / 256;
  endgame += (w.endgame - k.endgame) * b.mobility_weight / 256;
}

}  // namespace torvek
