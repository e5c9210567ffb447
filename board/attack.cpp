// The square-difference tables and the plain attack tests. For a man on
// `from` and a target `sq`, attackMaskTable[sq - from + 119] holds the type
// bits of every man that could reach `sq` on an empty board, so a man that
// cannot attack costs one lookup and an AND; only a slider whose line fits
// walks the squares in between (over the 16-wide board, never off it).
#include "board/attack.h"

#include <cstdlib>

#include "board/attackers.h"
#include "board/board.h"

namespace torvek {

int attackMaskTable[239];
int stepTable[239];
int lineStepTable[239];
int sliderBitsOfStep[35];

namespace {

constexpr int kDiagonalSteps[4] = {-17, -15, 15, 17};
constexpr int kOrthogonalSteps[4] = {-16, -1, 1, 16};
constexpr int kKnightDeltas[8] = {-33, -31, -18, -14, 14, 18, 31, 33};

void set_line(int step, int sliderBit) {
  for (int distance = 1; distance <= 7; distance++) {
    int d = step * distance + 119;
    attackMaskTable[d] |= sliderBit;
    if (distance == 1) attackMaskTable[d] |= kKing;
    stepTable[d] = step;
    lineStepTable[d] = step;
  }
  sliderBitsOfStep[step + 17] = sliderBit;
}

}  // namespace

void init_attack_tables() {
  for (int d = 0; d < 239; d++) attackMaskTable[d] = stepTable[d] = lineStepTable[d] = 0;
  for (int& bits : sliderBitsOfStep) bits = 0;
  for (int step : kDiagonalSteps) set_line(step, kBishop);
  for (int step : kOrthogonalSteps) set_line(step, kRook);
  for (int delta : kKnightDeltas) {
    attackMaskTable[delta + 119] |= kKnight;
    stepTable[delta + 119] = delta;
  }
  // Pawns capture forwards: a white pawn attacks the squares +15 and +17
  // from it, a black pawn -15 and -17.
  attackMaskTable[15 + 119] |= kPawnWhite;
  attackMaskTable[17 + 119] |= kPawnWhite;
  attackMaskTable[-15 + 119] |= kPawnBlack;
  attackMaskTable[-17 + 119] |= kPawnBlack;
}

bool is_attacked(const Board& b, int side, int sq) {
  int pawn = kPawnCodeBySide[side];
  int ahead = sq - kPawnStepBySide[side];
  if (b.squares[ahead + 1] == pawn || b.squares[ahead - 1] == pawn) return true;
  if (!pieces_may_attack(b, side, sq)) return false;
  for (const int* p = b.pieceList[side]; *p; p++) {
    int from = *p;
    int delta = sq - from;
    if (!(b.squares[from] & attack_mask(delta))) continue;
    int step = step_of(delta);
    int t = from + step;
    while (t != sq && b.squares[t] == kEmpty) t += step;
    if (t == sq) return true;
  }
  return false;
}

bool in_check(const Board& b) { return is_attacked(b, b.side ^ 1, b.king_square(b.side)); }

}  // namespace torvek
