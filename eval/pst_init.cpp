// The piece-square tables, written as a player reads a diagram (rank 8 at the
// top, files a to h) and stored by piece index * 64 + 64-square index. Black's
// value on a square is minus white's on the square mirrored top to bottom, so
// the board's sums are white minus black. The knight's opening table is
// deliberately not left-right symmetric (a1/h1, a2/h2).
#include "eval/eval_terms.h"

#include "board/pst.h"
#include "board/types.h"

namespace torvek {

namespace {

using Diagram = int[8][8];  // [rank 8 .. rank 1][file a .. h]

const Diagram kKnightOpening = {
    {-35, -25, -15, -10, -10, -15, -25, -35}, {-20, -10, 0, 5, 5, 0, -10, -20},
    {-5, 5, 15, 20, 20, 15, 5, -5},           {-5, 5, 15, 20, 20, 15, 5, -5},
    {-10, 0, 10, 15, 15, 10, 0, -10},         {-20, -10, 0, 5, 5, 0, -10, -20},
    {-25, -25, -15, -10, -10, -15, -25, -35}, {-50, -40, -30, -25, -25, -30, -40, -40},
};

// d8 and e7 lie 100 below their neighbours for a white bishop: a bishop there
// has just been trapped or is blocking (d1 and e2 for black, by the mirror).
const Diagram kBishopOpening = {
    {-8, -8, -6, -104, -4, -6, -8, -8}, {-8, 0, -2, 0, -100, -2, 0, -8},
    {-6, -2, 4, 2, 2, 4, -2, -6},       {-4, 0, 2, 8, 8, 2, 0, -4},
    {-4, 0, 2, 8, 8, 2, 0, -4},         {-6, -2, 4, 2, 2, 4, -2, -6},
    {-8, 0, -2, 0, 0, -2, 0, -8},       {-8, -8, -6, -4, -4, -6, -8, -8},
};

const Diagram kKingOpening = {
    {-55, -50, -60, -70, -70, -60, -50, -55}, {-45, -40, -50, -60, -60, -50, -40, -45},
    {-35, -30, -40, -50, -50, -40, -30, -35}, {-25, -20, -30, -40, -40, -30, -20, -25},
    {-15, -10, -20, -30, -30, -20, -10, -15}, {-5, 0, -10, -20, -20, -10, 0, -5},
    {15, 20, 10, 0, 0, 10, 20, 15},           {25, 30, 20, 10, 10, 20, 30, 25},
};

using Rank = int[8];
// Tables symmetric between rank n and rank 9 - n, given by ranks 8, 7, 6, 5.
struct SymmetricRanks {
  Rank outer, second, third, centre;
};

const SymmetricRanks kKnightEndgame = {{-40, -30, -20, -15, -15, -20, -30, -40},
                                       {-30, -20, -10, -5, -5, -10, -20, -30},
                                       {-20, -10, 0, 5, 5, 0, -10, -20},
                                       {-15, -5, 5, 10, 10, 5, -5, -15}};
const SymmetricRanks kBishopEndgame = {{-18, -12, -9, -6, -6, -9, -12, -18},
                                       {-12, -6, -3, 0, 0, -3, -6, -12},
                                       {-9, -3, 0, 3, 3, 0, -3, -9},
                                       {-6, 0, 3, 6, 6, 3, 0, -6}};
const SymmetricRanks kQueenEndgame = {{-24, -16, -12, -8, -8, -12, -16, -24},
                                      {-16, -8, -4, 0, 0, -4, -8, -16},
                                      {-12, -4, 0, 4, 4, 0, -4, -12},
                                      {-8, 0, 4, 8, 8, 4, 0, -8}};
const SymmetricRanks kKingEndgame = {{-72, -48, -36, -24, -24, -36, -48, -72},
                                     {-48, -24, -12, 0, 0, -12, -24, -48},
                                     {-36, -12, 0, 12, 12, 0, -12, -36},
                                     {-24, 0, 12, 24, 24, 12, 0, -24}};

const Rank kPawnOpening = {-15, -5, 0, 5, 5, 0, -5, -15};
const Rank kRookOpening = {-6, -3, 0, 3, 3, 0, -3, -6};
const Rank kZero = {0, 0, 0, 0, 0, 0, 0, 0};

// White's value of a square as a function of (rank 1..8, file 0..7).
void store(int16_t* table, int type, int rank, int file, int value) {
  int sq64 = (rank - 1) * 8 + file;
  table[(2 * type) * 64 + sq64] = static_cast<int16_t>(value);
  table[(2 * type + 1) * 64 + flip64(sq64)] = static_cast<int16_t>(-value);
}

void fill_diagram(int16_t* table, int type, const Diagram& d) {
  for (int row = 0; row < 8; row++)
    for (int file = 0; file < 8; file++) store(table, type, 8 - row, file, d[row][file]);
}

void fill_symmetric(int16_t* table, int type, const SymmetricRanks& s) {
  const Rank* byDistance[4] = {&s.outer, &s.second, &s.third, &s.centre};
  for (int rank = 1; rank <= 8; rank++) {
    int fromEdge = rank <= 4 ? rank - 1 : 8 - rank;
    for (int file = 0; file < 8; file++) store(table, type, rank, file, (*byDistance[fromEdge])[file]);
  }
}

void fill_every_rank(int16_t* table, int type, const Rank& r) {
  for (int rank = 1; rank <= 8; rank++)
    for (int file = 0; file < 8; file++) store(table, type, rank, file, r[file]);
}

}  // namespace

void init_piece_square_tables() {
  enum { kPawnT, kKnightT, kBishopT, kRookT, kQueenT, kKingT };
  fill_every_rank(pstOpening, kPawnT, kPawnOpening);
  fill_every_rank(pstEndgame, kPawnT, kZero);
  fill_diagram(pstOpening, kKnightT, kKnightOpening);
  fill_symmetric(pstEndgame, kKnightT, kKnightEndgame);
  fill_diagram(pstOpening, kBishopT, kBishopOpening);
  fill_symmetric(pstEndgame, kBishopT, kBishopEndgame);
  fill_every_rank(pstOpening, kRookT, kRookOpening);
  fill_every_rank(pstEndgame, kRookT, kZero);
  fill_every_rank(pstOpening, kQueenT, kZero);
  fill_symmetric(pstEndgame, kQueenT, kQueenEndgame);
  fill_diagram(pstOpening, kKingT, kKingOpening);
  fill_symmetric(pstEndgame, kKingT, kKingEndgame);
}

}  // namespace torvek
