// Full key computation and the derived castling-key table.
#include "board/zobrist.h"

#include <cinttypes>

#include "board/board.h"

namespace torvek {

uint64_t castleKeyByRights[16];

void init_castle_keys() {
  for (int r = 0; r < 16; r++) {
    uint64_t k = 0;
    for (int bit = 0; bit < 4; bit++)
      if (r & (1 << bit)) k ^= ZobristTable[kCastleKeyBase + bit];
    castleKeyByRights[r] = k;
  }
}

Keys compute_keys(const Board& b) {
  uint64_t hash = 0, pawn = 0, material = 0;
  for (int sq64 = 0; sq64 < 64; sq64++) {
    int code = b.squares[square64ToBoard[sq64]];
    if (code == kEmpty) continue;
    uint64_t k = piece_square_key(pieceIndexOfCode[code], sq64);
    hash ^= k;
    if (is_pawn_code(code)) pawn ^= k;
  }
  for (int i = 0; i < 12; i++)
    for (int n = 1; n <= b.typeCount[i]; n++) material ^= material_slot_key(i, n);
  hash ^= castleKeyByRights[b.castle & 15];
  if (b.epSquare) hash ^= ep_key(b.epSquare);
  if (b.side == kBlack) hash ^= ZobristTable[kSideKey];
  return Keys{hash, pawn, material};
}

bool write_random_table(const char* fileName) {
  FILE* f = std::fopen(fileName, "w+");
  if (!f) return false;
  for (uint64_t k : ZobristTable) std::fprintf(f, "%" PRIu64 "UL, ", k);
  std::fclose(f);
  return true;
}

}  // namespace torvek
