// Pawn structure (doubled, isolated, backward and candidate pawns), cached per
// pawn configuration in pawn_table, and the passed-pawn term, which depends on
// kings and pieces too and is computed every time from the cached passer
// files. Ranks are relative to the side (rank 1 = its back rank).
#pragma once

#include <cstdint>

#include "eval/hash_stats.h"

namespace torvek {

class Board;

struct PawnInfo {
  uint32_t check;  // upper half of the pawn key
  int16_t pawn_opening;
  int16_t pawn_endgame;
  uint8_t white_second_rank, black_second_rank;  // bit 0: a pawn on the side's 2nd rank
  uint8_t white_passers, black_passers;          // bit per file, a = bit 0
  // All of the side's pawns on one file and no enemy pawn on a neighbouring
  // file in front of the rearmost: the most advanced one's square as seen
  // from the side (64-square index, white's view: a2 = 8), else 0.
  uint8_t white_front, black_front;
  uint8_t stored;  // the slot holds an entry
  uint8_t unused;
};
static_assert(sizeof(PawnInfo) == 16, "pawn cache entries are 16 bytes");

constexpr int kPawnTableSize = 16384;
// One cache per thread: each search thread fills its own, so a probe never
// reads an entry another thread is writing.
extern thread_local PawnInfo pawn_table[kPawnTableSize];
extern thread_local CacheStats pawn_stats;
extern int pawn_weight;

// Rank factor out of 256 by relative rank 0..9: 26, 77, 154, 256 on ranks 4..7.
extern const int kRankFactor[10];

void clear_pawn_table();
const PawnInfo& pawn_probe(const Board& b);
void pawn_structure(const Board& b, PawnInfo& info);

// Adds the passed-pawn score (white minus black, scaled by passer_weight).
void evalu8Passer(const Board& b, const PawnInfo& info, int& opening, int& endgame);
// The pawn of `side` on board square `pawn` cannot be caught by the enemy king.
bool queening_race(int side, const Board& b, int pawn);

// Side-relative accessors shared by the pawn and endgame code.
inline uint8_t passers_of(const PawnInfo& p, int side) { return side ? p.black_passers : p.white_passers; }
inline uint8_t front_of(const PawnInfo& p, int side) { return side ? p.black_front : p.white_front; }
inline uint8_t second_rank_of(const PawnInfo& p, int side) {
  return side ? p.black_second_rank : p.white_second_rank;
}

}  // namespace torvek
