// Zobrist keys: the fixed table, the castling key by rights set, and the full
// computation of hashKey, pawnKey and materialKey used when a position is set
// up. Incremental updates live in the list primitives and make/unmake.
#pragma once

#include <cstdint>
#include <cstdio>

namespace torvek {

class Board;

constexpr int kZobristEntries = 781;
constexpr int kCastleKeyBase = 768;
constexpr int kEpKeyBase = 768;  // + board column 4..11 gives entries 772..779
constexpr int kSideKey = 780;

extern const uint64_t ZobristTable[kZobristEntries];
// Entry r: XOR of the castling keys of the rights set in r.
extern uint64_t castleKeyByRights[16];

void init_castle_keys();

inline uint64_t piece_square_key(int pieceIndex, int sq64) {
  return ZobristTable[pieceIndex * 64 + sq64];
}
// Key of the n-th man (1-based) of a piece index in the material key.
inline uint64_t material_slot_key(int pieceIndex, int n) { return ZobristTable[16 * pieceIndex + n - 1]; }
inline uint64_t ep_key(int boardSquare) { return ZobristTable[kEpKeyBase + (boardSquare & 15)]; }

struct Keys {
  uint64_t hash, pawn, material;
};

// Keys of a board from scratch (squares, typeCount, castle, epSquare, side).
Keys compute_keys(const Board& b);

// Maintenance: writes the table as an initialiser to "randoms.txt".
bool write_random_table(const char* fileName);

}  // namespace torvek
