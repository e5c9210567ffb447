// The hash key a move will lead to, computed before the move is made, so
// that the child's table bucket can be fetched from memory while the node
// still decides whether and how to search the move. Exact for ordinary moves
// and captures (castling rights included); a castling, promotion, en-passant
// or double pawn step may come out wrong, which costs only a useless load.
#pragma once

#include <cstdint>

#include "board/board.h"
#include "board/zobrist.h"

namespace torvek {

inline uint64_t key_after_move(const Board& b, int move) {
  int from = square64ToBoard[move_from(move)], to = square64ToBoard[move_to(move)];
  int idx = pieceIndexOfCode[b.squares[from]];
  uint64_t key = b.hashKey ^ ZobristTable[kSideKey] ^
                 piece_square_key(idx, move_from(move)) ^ piece_square_key(idx, move_to(move));
  int victim = b.squares[to];
  if (victim != kEmpty) key ^= piece_square_key(pieceIndexOfCode[victim], move_to(move));
  if (b.castle) key ^= castleKeyByRights[b.castle & ~(b.castleMask[from] & b.castleMask[to])];
  if (b.epSquare) key ^= ep_key(b.epSquare);
  return key;
}

// The key after a null move.
inline uint64_t key_after_null(const Board& b) {
  uint64_t key = b.hashKey ^ ZobristTable[kSideKey];
  return b.epSquare ? key ^ ep_key(b.epSquare) : key;
}

}  // namespace torvek
