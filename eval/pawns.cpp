// Pawn structure and its cache. Every test reads the per-file masks of
// pawnFiles; the opponent's masks are reversed into the side's ranks, so the
// same code scores white and black.
#include "eval/pawns.h"

#include <cstring>

#include "board/board.h"
#include "eval/pawn_masks.h"

namespace torvek {

thread_local PawnInfo pawn_table[kPawnTableSize];
thread_local CacheStats pawn_stats;
int pawn_weight = 256;
const int kRankFactor[10] = {0, 0, 0, 0, 26, 77, 154, 256, 0, 0};

namespace {

struct SideScore {
  int opening = 0;
  int endgame = 0;
  uint8_t passers = 0;
  uint8_t second_rank = 0;
  uint8_t front = 0;
};

// The side's masks of its own pawns and of the enemy's, in the side's ranks,
// for columns 3..12 (the neighbours of the a- and h-files read 0).
struct FileMasks {
  int own[16];
  int enemy[16];
};

void load_masks(const Board& b, int side, FileMasks& m) {
  for (int c = 0; c < 16; c++) {
    m.own[c] = b.pawnFiles[side][c];
    m.enemy[c] = reversedBits[b.pawnFiles[side ^ 1][c] & 0xFF];
  }
}

inline int relative_rank(int side, int sq) { return (row_of(sq) ^ kRankFlipBySide[side]) - 3; }

bool is_backward(const FileMasks& m, int c, int r) {
  int ownSides = m.own[c - 1] | m.own[c + 1];
  int enemySides = m.enemy[c - 1] | m.enemy[c + 1];
  int onFile = m.own[c] | m.enemy[c];
  if (ownSides & rankOnly[r + 1])
    return (enemySides & (rankOnly[r + 1] | rankOnly[r + 2])) || (onFile & rankOnly[r + 1]);
  if (r == 2 && (ownSides & rankOnly[4]))
    return (enemySides & (rankOnly[3] | rankOnly[4] | rankOnly[5])) ||
           (onFile & (rankOnly[3] | rankOnly[4]));
  return true;
}

bool is_candidate(const FileMasks& m, int c, int r) {
  int helpers = bitCount[m.own[c - 1] & ranksUpTo[r]] + bitCount[m.own[c + 1] & ranksUpTo[r]];
  int sentries = bitCount[m.enemy[c - 1] & ranksAbove[r]] + bitCount[m.enemy[c + 1] & ranksAbove[r]];
  if (helpers - sentries < 0) return false;
  int supporters = bitCount[m.own[c - 1] & rankOnly[r - 1]] + bitCount[m.own[c + 1] & rankOnly[r - 1]];
  int stoppers = bitCount[m.enemy[c - 1] & rankOnly[r + 1]] + bitCount[m.enemy[c + 1] & rankOnly[r + 1]];
  return supporters - stoppers >= 0;
}

void score_pawn(const FileMasks& m, int c, int r, SideScore& s) {
  int own = m.own[c];
  int ownSides = m.own[c - 1] | m.own[c + 1];
  bool open = ((own | m.enemy[c]) & ranksAbove[r]) == 0;
  if (r == 2) s.second_rank |= 1;

  // 1. Doubled: another own pawn behind it on the file.
  if (own & ranksBelow[r]) {
    s.opening -= 10;
    s.endgame -= 20;
  }
  // 2. Isolated: no own pawn on either neighbouring file.
  bool isolated = ownSides == 0;
  if (isolated) {
    s.opening -= open ? 20 : 10;
    s.endgame -= 20;
  }
  // 3. Backward: no neighbour beside or behind it that could defend it.
  if (!isolated && (ownSides & ranksUpTo[r]) == 0 && is_backward(m, c, r)) {
    s.opening -= open ? 16 : 8;
    s.endgame -= 10;
  }
  if (!open) return;
  // 4. Passed: open and no enemy pawn on the neighbouring files ahead. Its
  // score comes from the passed-pawn term, which knows the kings.
  if (((m.enemy[c - 1] | m.enemy[c + 1]) & ranksAbove[r]) == 0) {
    s.passers |= static_cast<uint8_t>(1 << (c - 4));
    return;
  }
  // 5. Candidate: its helpers outnumber the enemy pawns that guard its path.
  if (is_candidate(m, c, r)) {
    s.opening += (kRankFactor[r] * 50 + 128) / 256 + 5;
    s.endgame += (kRankFactor[r] * 100 + 128) / 256 + 10;
  }
}

// All pawns on one file with no enemy pawn beside and ahead of the rearmost:
// the draw tests of the recogniser look at the most advanced one.
uint8_t front_square(const Board& b, int side, const FileMasks& m) {
  if (b.pawnCount[side] == 0) return 0;
  int c = column_of(b.pawnList[side][0]);
  for (int i = 1; i < b.pawnCount[side]; i++)
    if (column_of(b.pawnList[side][i]) != c) return 0;
  int own = m.own[c];
  int rear = 1, front = 8;
  while (!(own & rankOnly[rear])) rear++;
  while (!(own & rankOnly[front])) front--;
  if ((m.enemy[c - 1] | m.enemy[c + 1]) & ranksAbove[rear]) return 0;
  return static_cast<uint8_t>((front - 1) * 8 + (c - 4));
}

SideScore score_side(const Board& b, int side) {
  SideScore s;
  FileMasks m;
  load_masks(b, side, m);
  for (int i = 0; i < b.pawnCount[side]; i++) {
    int sq = b.pawnList[side][i];
    score_pawn(m, column_of(sq), relative_rank(side, sq), s);
  }
  s.front = front_square(b, side, m);
  return s;
}

}  // namespace

void clear_pawn_table() {
  std::memset(pawn_table, 0, sizeof pawn_table);
  pawn_stats = CacheStats();
}

void pawn_structure(const Board& b, PawnInfo& info) {
  SideScore w = score_side(b, kWhite), k = score_side(b, kBlack);
  info.check = static_cast<uint32_t>(b.pawnKey >> 32);
  info.pawn_opening = static_cast<int16_t>((w.opening - k.opening) * pawn_weight / 256);
  info.pawn_endgame = static_cast<int16_t>((w.endgame - k.endgame) * pawn_weight / 256);
  info.white_second_rank = w.second_rank;
  info.black_second_rank = k.second_rank;
  info.white_passers = w.passers;
  info.black_passers = k.passers;
  info.white_front = w.front;
  info.black_front = k.front;
  info.stored = 1;
  info.unused = 0;
}

const PawnInfo& pawn_probe(const Board& b) {
  PawnInfo& entry = pawn_table[static_cast<uint32_t>(b.pawnKey) & (kPawnTableSize - 1)];
  pawn_stats.probes++;
  if (entry.stored && entry.check == static_cast<uint32_t>(b.pawnKey >> 32)) {
    pawn_stats.hits++;
    return entry;
  }
  if (entry.stored)
    pawn_stats.overwrites++;
  else
    pawn_stats.stores++;
  pawn_structure(b, entry);
  return entry;
}

}  // namespace torvek
