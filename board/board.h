// The position record. One Board holds the 16x16 mailbox, the piece and pawn
// lists kept in step with it, the incremental scores and keys, the key
// history, and (so that a byte copy carries everything a search needs) the
// move-ordering tables and the KPK bitbase.
//
// Invariants between any two board operations: border squares hold 16;
// pieceList[side][0] is that side's king and the list is sorted by piece code,
// highest first, men of equal code in their relative order; listIndex of an
// occupied square is its man's slot; occupied marks the occupied squares; counts, pawnFiles, pst sums and the three
// keys equal a full recomputation. Only add_man/remove_man/move_man write
// squares, lists and counts.
#pragma once

#include <cstdint>

#include "board/types.h"

namespace torvek {

constexpr int kHistorySize = 4096;
constexpr int kKpkWords = 11260;
constexpr int kMaxPly = 256;

// Everything needed to take a move back without recomputation.
struct UndoInfo {
  bool captured;
  int captureSquare;
  int capturedPiece;
  int capturedListIndex;
  int promoListIndex;
  int side, castle, epSquare, fifty;
  int pst_opening, pst_endgame;
  uint64_t hashKey, pawnKey, materialKey;
};

class Board {
 public:
  // Evaluation parameters; the board code never reads them.
  bool LazyEval;
  int LazyEvalLimit;
  bool lazy_null;
  int mobility_weight;
  int king_safety_weight;
  int passer_weight;

  int squares[256];
  int listIndex[256];
  int pawnList[2][16];
  int pawnCount[2];
  int pieceList[2][32];
  int pieceCount[2];
  int menCount;
  int typeCount[12];
  int pawnFiles[2][16];
  // A bit per occupied square, by 64-square index (see board/lines.h), in
  // all and by the side of the man on it.
  uint64_t occupied;
  uint64_t occupiedBy[2];
  // A side's men that move along diagonals (bishops, queens) and along
  // ranks and files (rooks, queens), the same way.
  uint64_t diagonalSliders[2];
  uint64_t straightSliders[2];
  int side;
  int castle;
  int epSquare;
  int fifty;
  int histCount;
  int pst_opening, pst_endgame;
  uint64_t hashKey, pawnKey, materialKey;
  // Castling geometry, fixed for a game once the FEN is read. In standard
  // chess it is the usual one: rooks on a1/h1/a8/h8 and the mask below
  // equal to standardCastleMask. In Chess960 (`chess960`) castleRook holds
  // the start square of the rook of each right (index: bit number of the
  // right, K Q k q), a castling move is written as the king taking that
  // rook, and castleMask clears a right when its king or rook square is
  // left or captured on.
  bool chess960;
  bool shredderFen;  // the FEN named rights by rook files: write them so
  int castleRook[4];
  uint8_t castleMask[256];
  uint64_t keyHistory[kHistorySize];
  int stageTable[256];
  uint16_t historyTried[768];
  uint16_t historyGood[768];
  uint16_t historyScaled[768];
  uint16_t killers[kMaxPly][2];
  uint32_t kpkTable[kKpkWords];

  // All squares border, playing squares empty, side/castle/ep/fifty 0,
  // standard castling geometry.
  void clear();

  // The three list-keeping primitives. With `update` set they also keep the
  // piece-square sums and the three keys.
  void move_man(int from, int to, bool update);
  void add_man(int code, int sq, int listPos, bool update);
  void remove_man(int sq, bool update);

  void flip_occupancy(int sq, int side);
  void flip_sliders(int code, int side, uint64_t bits);
  // `occupied` as `squares` implies it, in all or (side 0, 1) by side, of
  // the men whose code has one of `bits`.
  uint64_t compute_occupancy(int side = -1, int bits = ~0) const;
  // Sets the occupancy words from `squares`.
  void set_occupancy();

  int king_square(int s) const { return pieceList[s][0]; }

  // Recomputes lists, counts, pawn files, scores and keys from `squares` and
  // compares them with the incremental state. For tests and debug asserts.
  bool is_valid() const;
};

// The game's root position.
extern Board topBoard;

// Fixed tables, built once by init_board_tables().
extern int square64ToBoard[64];
extern int boardToSquare64[256];
extern uint8_t backRank[256];
extern int pieceIndexOfCode[256];
extern int pieceTypeOfCode[256];
extern const int* stepListOfCode[256];
extern const int kPawnCodeBySide[2];
extern const int kPawnStepBySide[2];
extern const int kRankFlipBySide[2];
extern int rowBit[16];
// A pawn's bit in pawnFiles, by side and board square (its rank as that
// side sees it).
extern uint8_t pawnFileBit[2][256];
// Rights kept by a move leaving or reaching a square in standard chess.
extern uint8_t standardCastleMask[256];
extern const int kPromotionPiece[4];
extern int pieceValueOfCode[256];
// King distance by square difference, indexed by (to - from + 119).
extern int kingDistanceTable[239];

inline int kingDistance(int a, int b) { return kingDistanceTable[b - a + 119]; }

void init_board_tables();

inline void Board::flip_occupancy(int sq, int side) {
  uint64_t bit = 1ull << boardToSquare64[sq];
  occupied ^= bit;
  occupiedBy[side] ^= bit;
}

// For a man `code` of `side` that appears on, leaves or crosses the
// squares of `bits`.
inline void Board::flip_sliders(int code, int side, uint64_t bits) {
  if (code & kBishop) diagonalSliders[side] ^= bits;
  if (code & kRook) straightSliders[side] ^= bits;
}

}  // namespace torvek
