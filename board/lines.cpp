// The ray masks behind ray_end, and the line views and empty-run table
// behind empty_runs. A rank is a byte of the occupancy word already; a file
// is gathered by a multiplication that moves rank r's bit to bit r of the
// top byte, a diagonal by one that adds up its bytes (each holds one square,
// in its own file's bit).
#include "board/lines.h"

#include <initializer_list>

namespace torvek {

LineView lineViews[4][64];
const uint64_t kLineGather[4] = {1ull << 56, 0x0102040810204080ull, 0x0101010101010101ull,
                                 0x0101010101010101ull};
uint8_t emptyRun[2][256][8];
uint64_t rayMask[35][256];
uint8_t rayEdge[35][256];
uint64_t knightReachOf[256];
uint64_t kingReachOf[256];
uint64_t pawnCaptureReachOf[2][256];
uint64_t diagonalLinesOf[256];
uint64_t straightLinesOf[256];

namespace {

// The squares of a diagonal through (rank, file) along (+1, fileStep).
LineView diagonal_view(int rank, int file, int fileStep) {
  LineView v{0, 0, 0xFF, static_cast<uint8_t>(file)};
  for (int d = -7; d <= 7; d++) {
    int r = rank + d, f = file + d * fileStep;
    if (r < 0 || r > 7 || f < 0 || f > 7) continue;
    v.mask |= 1ull << (r * 8 + f);
    v.outside = static_cast<uint8_t>(v.outside & ~(1 << f));
  }
  return v;
}

void init_rays() {
  for (int step : {-17, -16, -15, -1, 1, 15, 16, 17})
    for (int sq64 = 0; sq64 < 64; sq64++) {
      uint64_t mask = 0;
      int from = square64ToBoard[sq64], to = from + step;
      for (; boardToSquare64[to] >= 0; to += step) mask |= 1ull << boardToSquare64[to];
      rayMask[step + 17][from] = mask;
      rayEdge[step + 17][from] = static_cast<uint8_t>(to);
      (step == 1 || step == -1 || step == 16 || step == -16 ? straightLinesOf : diagonalLinesOf)[from] |= mask;
    }
  for (int sq64 = 0; sq64 < 64; sq64++) {
    int from = square64ToBoard[sq64];
    for (int jump : {-33, -31, -18, -14, 14, 18, 31, 33})
      if (boardToSquare64[from + jump] >= 0) knightReachOf[from] |= 1ull << boardToSquare64[from + jump];
    for (int step : {-17, -16, -15, -1, 1, 15, 16, 17})
      if (boardToSquare64[from + step] >= 0) kingReachOf[from] |= 1ull << boardToSquare64[from + step];
    for (int side : {kWhite, kBlack})
      for (int to : {from + kPawnStepBySide[side] - 1, from + kPawnStepBySide[side] + 1})
        if (boardToSquare64[to] >= 0) pawnCaptureReachOf[side][from] |= 1ull << boardToSquare64[to];
  }
}

}  // namespace

void init_line_tables() {
  for (int sq = 0; sq < 64; sq++) {
    int rank = sq / 8, file = sq % 8;
    lineViews[0][sq] = {0xFF, static_cast<uint8_t>(rank * 8), 0, static_cast<uint8_t>(file)};
    lineViews[1][sq] = {0x0101010101010101ull, static_cast<uint8_t>(file), 0, static_cast<uint8_t>(rank)};
    lineViews[2][sq] = diagonal_view(rank, file, 1);
    lineViews[3][sq] = diagonal_view(rank, file, -1);
  }
  for (int occ = 0; occ < 256; occ++)
    for (int p = 0; p < 8; p++) {
      int up = 0, down = 0;
      for (int q = p + 1; q < 8 && !(occ & (1 << q)); q++) up++;
      for (int q = p - 1; q >= 0 && !(occ & (1 << q)); q--) down++;
      emptyRun[1][occ][p] = static_cast<uint8_t>(up);
      emptyRun[0][occ][p] = static_cast<uint8_t>(down);
    }
  init_rays();
}

}  // namespace torvek
