// Loading and probing the KPK bitbase. The file is 11,260 little-endian
// 32-bit words; bit b of the bitbase is bit b % 32 of word b / 32.
#include "eval/kpk.h"

#include <cstdio>
#include <cstring>

#include "board/board.h"
#include "core/output.h"
#include "eval/kpk_index.h"

namespace torvek {

static_assert(kKpkWords * 32 >= kKpkBits, "the table holds every index");

bool KPKload(Board& b) {
  std::memset(b.kpkTable, 0, sizeof b.kpkTable);
  FILE* f = std::fopen("KPK.dat", "rb");
  if (!f) {
    Print("\nProblem opening the KPK bitbase file\n");
    return true;
  }
  int count = 0;
  unsigned char bytes[4];
  while (count < kKpkWords && std::fread(bytes, 1, 4, f) == 4) {
    b.kpkTable[count++] = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                          static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  }
  if (count < kKpkWords) Print("Read %d items\n", count);
  std::fclose(f);
  Print("\nKPK bitbase found\n");
  return true;
}

bool kpk_bit(const Board& b, int pawnSide, int king, int pawn, int defender, int t) {
  int index = kpk_normalised_index(pawnSide, boardToSquare64[pawn], boardToSquare64[king],
                                   boardToSquare64[defender], t);
  return (b.kpkTable[index >> 5] >> (index & 31)) & 1;
}

int kpk_probe(const Board& b, int pawnSide, int t) {
  int pawn = b.pawnList[pawnSide][0];
  if (!kpk_bit(b, pawnSide, b.king_square(pawnSide), pawn, b.king_square(pawnSide ^ 1), t)) return 0;
  return 900 + (row_of(pawn) ^ kRankFlipBySide[pawnSide]);
}

}  // namespace torvek
