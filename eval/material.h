// Material: its score, the game phase, and the classification of the material
// into the small endings the recogniser knows, all cached per material key in
// material_table. A side's flags say what it can still win with and which
// draw tests apply to it.
#pragma once

#include <cstdint>

#include "eval/hash_stats.h"

namespace torvek {

class Board;

// Flags of MaterialInfo::flags.
constexpr int kDrawishClass = 1;       // bit 0
constexpr int kOppositeBishops = 2;    // bit 1: one bishop each, nothing else but pawns
// Flags of the side flags.
constexpr int kCannotWin = 1;          // bit 0
constexpr int kRookPawnDrawTest = 2;   // bit 1: only bishops and pawns
constexpr int kBlockadeDrawTest = 4;   // bit 2: at most one bishop and pawns v pieces
constexpr int kKnightPawnDrawTest = 8; // bit 3: one knight and one pawn v pieces
constexpr int kKingSafety = 16;        // bit 4: the opponent has a queen and another piece

struct MaterialInfo {
  uint32_t check;  // upper half of the material key
  uint8_t endgame_code;
  uint8_t flags;
  uint8_t white_flags;
  uint8_t black_flags;
  int16_t phase;  // endgame weight 0..256
  int16_t material_opening;
  int16_t material_endgame;
  uint8_t stored;  // the slot holds an entry
  uint8_t unused;
};
static_assert(sizeof(MaterialInfo) == 16, "material cache entries are 16 bytes");

// Men per side: pawns, knights, bishops, rooks, queens.
struct MaterialCounts {
  int pawns[2], knights[2], bishops[2], rooks[2], queens[2];
};

// The recogniser's material classes.
enum EndgameCode : uint8_t {
  kNoClass = 0,
  kKvK = 1, kKBvK, kKvKB, kKNvK, kKvKN, kKPvK, kKvKP, kKBNvK, kKvKBN, kKBBvK, kKvKBB,
  kBishopsPawnW, kBishopsPawnB, kKQvKQ, kKQvKP, kKPvKQ, kKRNvKR, kKRvKRN, kKRBvKR, kKRvKRB,
  kKQNvKQ, kKQvKQN, kKQBvKQ, kKQvKQB, kKRvKR, kKRvKP, kKPvKR, kKBvKB, kKBvKP, kKPvKB,
  kKBPvK, kKvKBP, kKNvKN, kKNvKP, kKPvKN, kKNPvK, kKvKNP, kKRPvKR, kKRvKRP, kKBPvKB, kKBvKBP
};
static_assert(kKBvKBP == 41, "41 material classes");

constexpr int kMaterialTableSize = 256;
// One cache per thread, like the pawn cache.
extern thread_local MaterialInfo material_table[kMaterialTableSize];
extern thread_local CacheStats material_stats;

void clear_material_table();
const MaterialInfo& material_probe(const Board& b);
MaterialCounts count_material(const Board& b);
// Fills the class, the flags and the two insufficiency marks.
void classify_material(const MaterialCounts& m, MaterialInfo& info, bool insufficient[2]);
// Computes a whole entry (score, phase, classes) from the counts.
void evaluate_material(const MaterialCounts& m, MaterialInfo& info);

}  // namespace torvek
