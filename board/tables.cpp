// The process-wide fixed tables of the board, built once at start-up before
// any Board is used.
#include <cstdlib>

#include "board/board.h"
#include "board/lines.h"

namespace torvek {

int square64ToBoard[64];
int boardToSquare64[256];
uint8_t backRank[256];
int pieceIndexOfCode[256];
int pieceTypeOfCode[256];
const int* stepListOfCode[256];
const int kPawnCodeBySide[2] = {WP, BP};
const int kPawnStepBySide[2] = {16, -16};
const int kRankFlipBySide[2] = {0, 15};
int rowBit[16];
uint8_t pawnFileBit[2][256];
uint8_t standardCastleMask[256];
const int kPromotionPiece[4] = {kKnight, kBishop, kRook, kQueen};
int pieceValueOfCode[256];
int kingDistanceTable[239];

namespace {

const int kKnightSteps[] = {-33, -31, -18, -14, 14, 18, 31, 33, 0};
const int kBishopSteps[] = {-17, -15, 15, 17, 0};
const int kRookSteps[] = {-16, -1, 1, 16, 0};
const int kQueenSteps[] = {-17, -16, -15, -1, 1, 15, 16, 17, 0};

void init_square_tables() {
  for (int sq = 0; sq < 256; sq++) {
    boardToSquare64[sq] = -1;
    backRank[sq] = 0;
  }
  for (int i = 0; i < 64; i++) {
    int sq = 16 * (i / 8 + 4) + i % 8 + 4;
    square64ToBoard[i] = sq;
    boardToSquare64[sq] = i;
    if (i < 8 || i >= 56) backRank[sq] = 1;
  }
  for (int r = 0; r < 16; r++) rowBit[r] = (r >= 4 && r <= 11) ? 1 << (r - 4) : 0;
  for (int side = 0; side < 2; side++)
    for (int sq = 0; sq < 256; sq++)
      pawnFileBit[side][sq] = static_cast<uint8_t>(rowBit[row_of(sq) ^ kRankFlipBySide[side]]);
}

void init_piece_tables() {
  for (int c = 0; c < 256; c++) {
    pieceIndexOfCode[c] = -1;
    pieceTypeOfCode[c] = -1;
    stepListOfCode[c] = nullptr;
  }
  for (int i = 0; i < 12; i++) {
    int code = kPieceCodes[i];
    pieceIndexOfCode[code] = i;
    pieceTypeOfCode[code] = i / 2;
    switch (code & ~3) {
      case kKnight: stepListOfCode[code] = kKnightSteps; break;
      case kBishop: stepListOfCode[code] = kBishopSteps; break;
      case kRook: stepListOfCode[code] = kRookSteps; break;
      case kQueen:
      case kKing: stepListOfCode[code] = kQueenSteps; break;
      default: break;
    }
  }
}

void init_castle_mask() {
  for (int sq = 0; sq < 256; sq++) standardCastleMask[sq] = 15;
  standardCastleMask[kE1] = 15 & ~3;
  standardCastleMask[kH1] = 15 & ~1;
  standardCastleMask[kA1] = 15 & ~2;
  standardCastleMask[kE8] = 15 & ~12;
  standardCastleMask[kH8] = 15 & ~4;
  standardCastleMask[kA8] = 15 & ~8;
}

void init_piece_values() {
  static const int kTypeValue[6] = {100, 325, 335, 500, 1000, 10000};
  for (int c = 0; c < 256; c++) pieceValueOfCode[c] = -1;
  pieceValueOfCode[kEmpty] = 0;
  pieceValueOfCode[kBorder] = 0;
  for (int i = 0; i < 12; i++) pieceValueOfCode[kPieceCodes[i]] = kTypeValue[i / 2];
}

void init_king_distance() {
  // Any square difference -119..119 splits uniquely into a rank and a file
  // difference of at most 7 each.
  for (int d = 0; d < 239; d++) kingDistanceTable[d] = 0;
  for (int dr = -7; dr <= 7; dr++)
    for (int df = -7; df <= 7; df++) {
      int dist = std::abs(dr) > std::abs(df) ? std::abs(dr) : std::abs(df);
      kingDistanceTable[dr * 16 + df + 119] = dist;
    }
}

}  // namespace

void init_board_tables() {
  init_square_tables();
  init_piece_tables();
  init_castle_mask();
  init_piece_values();
  init_king_distance();
  init_line_tables();
}

}  // namespace torvek
