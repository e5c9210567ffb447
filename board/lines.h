// Lines through the occupancy word: Board::occupied has a bit per occupied
// square (64-square index). The first man along a slider step is a bit scan
// of the occupied squares on that ray (the lowest bit for steps that raise
// the index, the highest for the others), and the men on a square's rank,
// file or diagonal come out as one byte (a mask and a multiplication gather
// them, one bit per position along the line) for the empty runs both ways.
// That walk is where the generators, the exchange evaluation and mobility
// spent their time on a mailbox board. The tables are built once by
// init_board_tables().
#pragma once

#include <cstdint>

#include "board/board.h"

namespace torvek {

// Lines: 0 rank, 1 file, 2 diagonal (step 17), 3 anti-diagonal (step 15).
struct LineView {
  uint64_t mask;    // the line's squares, after the shift
  uint8_t shift;    // brings the line's squares to where the mask expects them
  uint8_t outside;  // positions the line lacks, read as occupied
  uint8_t pos;      // the square's position along the line
};
extern LineView lineViews[4][64];
extern const uint64_t kLineGather[4];
// Empty positions beyond position p before the next set bit, towards higher
// (emptyRun[1]) or lower (emptyRun[0]) positions.
extern uint8_t emptyRun[2][256][8];
// Per unit step (index step + 17) and board square: the squares of the ray
// (the start excluded), and the border square just beyond its last one.
// Only the eight unit steps of the sliders and the playing squares are
// filled; indexed by board square, a look-up needs no conversion first and
// touches no more cache lines than a 64-square table would.
extern uint64_t rayMask[35][256];
extern uint8_t rayEdge[35][256];
// The squares a knight or a king on a board square reaches, and the two a
// pawn of each side captures on, as 64-square bits.
extern uint64_t knightReachOf[256];
extern uint64_t kingReachOf[256];
extern uint64_t pawnCaptureReachOf[2][256];
// The four diagonal rays, and the four rank and file rays, of a board square
// together.
extern uint64_t diagonalLinesOf[256];
extern uint64_t straightLinesOf[256];

void init_line_tables();

// A unit step's line, and whether it runs towards higher positions along it
// (the file on the diagonals, so the anti-diagonal's +15 runs downwards).
constexpr int line_of_step(int step) {
  return (step == 1 || step == -1) ? 0 : (step == 16 || step == -16) ? 1 : (step == 17 || step == -17) ? 2 : 3;
}
constexpr int up_of_step(int step) { return (step == 1 || step == 16 || step == 17 || step == -15) ? 1 : 0; }

// The first square along the unit step `step` from `from` that is not empty:
// a man, or the border square beyond the ray's last square.
inline int ray_end(const Board& b, int from, int step) {
  uint64_t men = b.occupied & rayMask[step + 17][from];
  // The scans read a bit that is never the answer when the ray is empty, so
  // that both sides of the choice below are computed without a branch.
  int first = step > 0 ? __builtin_ctzll(men | 1ull << 63) : 63 ^ __builtin_clzll(men | 1);
  return men ? square64ToBoard[first] : rayEdge[step + 17][from];
}

// Both empty runs from `from` along the line of the unit step `step`: along
// it (`forward`) and against it (`back`), from one gather of the line.
inline void empty_runs(const Board& b, int from, int step, int& forward, int& back) {
  int line = line_of_step(step);
  const LineView& v = lineViews[line][boardToSquare64[from]];
  unsigned bits = static_cast<unsigned>((((b.occupied >> v.shift) & v.mask) * kLineGather[line]) >> 56);
  bits |= v.outside;
  forward = emptyRun[up_of_step(step)][bits][v.pos];
  back = emptyRun[up_of_step(-step)][bits][v.pos];
}

// For a man `code` on `from` that the attack mask lets reach `to` on an
// empty board, with `step` its step_of: nothing stands in between. Knights
// and kings jump or step, so only sliders look; the run is taken from `to`
// back towards `from`, which only `from` needs to be occupied for.
inline bool nothing_between(const Board& b, int code, int from, int to, int step) {
  return !(code & (kBishop | kRook)) || ray_end(b, to, -step) == from;
}

}  // namespace torvek
