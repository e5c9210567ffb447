// Lines through the occupancy word: Board::occupied has a bit per occupied
// square (64-square index), so the men on a square's rank, file or diagonal
// come out as one byte (a mask and a multiplication gather them, one bit
// per position along the line), and the length of the empty run from a
// square along a step is a table lookup instead of a walk. That walk is
// where the generators, the exchange evaluation and mobility spent their
// time on a mailbox board. The tables are built once by init_board_tables().
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
// Per unit step (index step + 17): its line and whether it runs towards
// higher positions. Only the eight unit steps of the sliders are filled.
extern uint8_t lineOfStep[35];
extern uint8_t upOfStep[35];
// Empty positions beyond position p before the next set bit, towards higher
// (emptyRun[1]) or lower (emptyRun[0]) positions.
extern uint8_t emptyRun[2][256][8];

void init_line_tables();

// The number of empty squares from `from` (exclusive) along the unit line
// step `step` before the first man or the border.
inline int empty_run(const Board& b, int from, int step) {
  int line = lineOfStep[step + 17];
  const LineView& v = lineViews[line][boardToSquare64[from]];
  unsigned bits = static_cast<unsigned>((((b.occupied >> v.shift) & v.mask) * kLineGather[line]) >> 56);
  return emptyRun[upOfStep[step + 17]][bits | v.outside][v.pos];
}

// Both empty runs from `from` along the line of the unit step `step`: along
// it (`forward`) and against it (`back`), from one gather of the line.
inline void empty_runs(const Board& b, int from, int step, int& forward, int& back) {
  int line = lineOfStep[step + 17];
  const LineView& v = lineViews[line][boardToSquare64[from]];
  unsigned bits = static_cast<unsigned>((((b.occupied >> v.shift) & v.mask) * kLineGather[line]) >> 56);
  bits |= v.outside;
  forward = emptyRun[upOfStep[step + 17]][bits][v.pos];
  back = emptyRun[upOfStep[17 - step]][bits][v.pos];
}

// The first square along `step` from `from` that is not empty.
inline int ray_end(const Board& b, int from, int step) {
  return from + step * (empty_run(b, from, step) + 1);
}

// For a man `code` on `from` that the attack mask lets reach `to` on an
// empty board, with `step` its step_of: nothing stands in between. Knights
// and kings jump or step, so only sliders look; the run is taken from `to`
// back towards `from`, which only `from` needs to be occupied for.
inline bool nothing_between(const Board& b, int code, int from, int to, int step) {
  return !(code & (kBishop | kRook)) || ray_end(b, to, -step) == from;
}

}  // namespace torvek
