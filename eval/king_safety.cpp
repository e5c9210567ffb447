// King safety: the shelter of the own pawns in front of the king (or of the
// castled position it can still reach) while the opponent has a queen and
// another piece, a king left in the centre without castling rights, and in
// the endgame a bonus for holding the opposition-like distance.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "board/board.h"
#include "eval/eval_terms.h"
#include "eval/material.h"
#include "eval/pawn_masks.h"

namespace torvek {

namespace {

constexpr int kShortRight[2] = {1, 4};
constexpr int kLongRight[2] = {2, 8};
constexpr int kShortKingSquare[2] = {kG1, kG8};
constexpr int kLongKingSquare[2] = {kB1, kB8};

int side_king_safety(const Board& b, const MaterialInfo& m, int side) {
  int score = 0;
  int king = b.king_square(side);
  bool shortRight = (b.castle & kShortRight[side]) != 0, longRight = (b.castle & kLongRight[side]) != 0;
  // A king still in the centre: the fewer ways left to castle, the worse.
  int column = column_of(king);
  if (column == 7 || column == 8) {
    if (shortRight && !longRight)
      score -= 10;
    else if (longRight && !shortRight)
      score -= 15;
    else if (!shortRight && !longRight)
      score -= 50;
  }
  int flags = side == kWhite ? m.white_flags : m.black_flags;
  if (flags & kKingSafety) {
    int s = shelter(b, side, king);
    int best = s;
    if (shortRight) best = std::min(best, shelter(b, side, kShortKingSquare[side]));
    if (longRight) best = std::min(best, shelter(b, side, kLongKingSquare[side]));
    int v = (s + best) / 2;
    score += (v > 0 ? 1 : 0) - (192 * v) / 256;
  }
  return score;
}


// The shelter value of one file by the king's relative rank and the file's
// pawn mask: 36 - d * d, d the distance from the eighth rank of the nearest
// own pawn not behind the king (0 without one).
int8_t fileShelter[10][256];

}  // namespace

void init_king_safety_tables() {
  for (int kingRank = 0; kingRank < 10; kingRank++)
    for (int pawns = 0; pawns < 256; pawns++) {
      int mask = pawns & ~ranksBelow[kingRank] & 0xFF;
      int d = 0;
      if (mask) {
        int k = 0;
        while (!(mask & (1 << k))) k++;
        d = 11 - (4 + k);
      }
      fileShelter[kingRank][pawns] = static_cast<int8_t>(36 - d * d);
    }
}

int shelter(const Board& b, int side, int sq) {
  const int8_t* value = fileShelter[(row_of(sq) ^ kRankFlipBySide[side]) - 3];
  const int* files = b.pawnFiles[side];
  int c = column_of(sq);
  // The king's own file counts twice; a neighbour off the board not at all.
  int total = 2 * value[files[c] & 0xFF];
  if (c > 4) total += value[files[c - 1] & 0xFF];
  if (c < 11) total += value[files[c + 1] & 0xFF];
  return total == 0 ? 11 : total;
}

void add_king_safety(const Board& b, const MaterialInfo& m, int& opening, int& endgame) {
  int w = side_king_safety(b, m, kWhite), k = side_king_safety(b, m, kBlack);
  opening += (w - k) * b.king_safety_weight / 256;
  // Kings an even number of files and ranks apart: the side not to move holds
  // the opposition.
  int wk = b.king_square(kWhite), bk = b.king_square(kBlack);
  int files = std::abs(column_of(wk) - column_of(bk)), ranks = std::abs(row_of(wk) - row_of(bk));
  if (files % 2 == 0 && ranks % 2 == 0) {
    int term = b.side == kWhite ? -10 : 10;
    endgame += term * b.king_safety_weight / 256;
  }
}

}  // namespace torvek
