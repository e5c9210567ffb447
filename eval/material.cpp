// The material entry: balance with its adjustments (bishop pair, piece
// against pawns, trading when ahead, no winning chances), the phase weight,
// and the material class with its flags. Computed on a cache miss only.
#include "eval/material.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "board/board.h"

namespace torvek {

thread_local MaterialInfo material_table[kMaterialTableSize];
thread_local CacheStats material_stats;

namespace {

struct Men {
  int p, n, b, r, q;
};

Men men_of(const MaterialCounts& m, int s) {
  return {m.pawns[s], m.knights[s], m.bishops[s], m.rooks[s], m.queens[s]};
}

bool same(const Men& a, const Men& b) {
  return a.p == b.p && a.n == b.n && a.b == b.b && a.r == b.r && a.q == b.q;
}

int pieces_of(const Men& m) { return m.n + m.b + m.r + m.q; }
int minors_of(const Men& m) { return m.n + m.b; }

struct ClassRow {
  uint8_t code;
  Men white, black;
};

// The exactly defined endings; 10 to 13 allow any number of bishops.
const ClassRow kClassRows[] = {
    {kKvK, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},     {kKBvK, {0, 0, 1, 0, 0}, {0, 0, 0, 0, 0}},
    {kKvKB, {0, 0, 0, 0, 0}, {0, 0, 1, 0, 0}},    {kKNvK, {0, 1, 0, 0, 0}, {0, 0, 0, 0, 0}},
    {kKvKN, {0, 0, 0, 0, 0}, {0, 1, 0, 0, 0}},    {kKPvK, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
    {kKvKP, {0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}},    {kKBNvK, {0, 1, 1, 0, 0}, {0, 0, 0, 0, 0}},
    {kKvKBN, {0, 0, 0, 0, 0}, {0, 1, 1, 0, 0}},   {kKQvKQ, {0, 0, 0, 0, 1}, {0, 0, 0, 0, 1}},
    {kKQvKP, {0, 0, 0, 0, 1}, {1, 0, 0, 0, 0}},   {kKPvKQ, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 1}},
    {kKRNvKR, {0, 1, 0, 1, 0}, {0, 0, 0, 1, 0}},  {kKRvKRN, {0, 0, 0, 1, 0}, {0, 1, 0, 1, 0}},
    {kKRBvKR, {0, 0, 1, 1, 0}, {0, 0, 0, 1, 0}},  {kKRvKRB, {0, 0, 0, 1, 0}, {0, 0, 1, 1, 0}},
    {kKQNvKQ, {0, 1, 0, 0, 1}, {0, 0, 0, 0, 1}},  {kKQvKQN, {0, 0, 0, 0, 1}, {0, 1, 0, 0, 1}},
    {kKQBvKQ, {0, 0, 1, 0, 1}, {0, 0, 0, 0, 1}},  {kKQvKQB, {0, 0, 0, 0, 1}, {0, 0, 1, 0, 1}},
    {kKRvKR, {0, 0, 0, 1, 0}, {0, 0, 0, 1, 0}},   {kKRvKP, {0, 0, 0, 1, 0}, {1, 0, 0, 0, 0}},
    {kKPvKR, {1, 0, 0, 0, 0}, {0, 0, 0, 1, 0}},   {kKBvKB, {0, 0, 1, 0, 0}, {0, 0, 1, 0, 0}},
    {kKBvKP, {0, 0, 1, 0, 0}, {1, 0, 0, 0, 0}},   {kKPvKB, {1, 0, 0, 0, 0}, {0, 0, 1, 0, 0}},
    {kKBPvK, {1, 0, 1, 0, 0}, {0, 0, 0, 0, 0}},   {kKvKBP, {0, 0, 0, 0, 0}, {1, 0, 1, 0, 0}},
    {kKNvKN, {0, 1, 0, 0, 0}, {0, 1, 0, 0, 0}},   {kKNvKP, {0, 1, 0, 0, 0}, {1, 0, 0, 0, 0}},
    {kKPvKN, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}},   {kKNPvK, {1, 1, 0, 0, 0}, {0, 0, 0, 0, 0}},
    {kKvKNP, {0, 0, 0, 0, 0}, {1, 1, 0, 0, 0}},   {kKRPvKR, {1, 0, 0, 1, 0}, {0, 0, 0, 1, 0}},
    {kKRvKRP, {0, 0, 0, 1, 0}, {1, 0, 0, 1, 0}},  {kKBPvKB, {1, 0, 1, 0, 0}, {0, 0, 1, 0, 0}},
    {kKBvKBP, {0, 0, 1, 0, 0}, {1, 0, 1, 0, 0}},
};

bool only_bishops(const Men& m) { return m.n == 0 && m.r == 0 && m.q == 0; }

uint8_t class_of(const Men& w, const Men& k) {
  for (const ClassRow& row : kClassRows)
    if (same(w, row.white) && same(k, row.black)) return row.code;
  Men bare = {0, 0, 0, 0, 0};
  if (only_bishops(w) && w.b >= 2 && w.p == 0 && same(k, bare)) return kKBBvK;
  if (only_bishops(k) && k.b >= 2 && k.p == 0 && same(w, bare)) return kKvKBB;
  if (only_bishops(w) && w.b >= 2 && w.p == 1 && k.p == 0) return kBishopsPawnW;
  if (only_bishops(k) && k.b >= 2 && k.p == 1 && w.p == 0) return kBishopsPawnB;
  return kNoClass;
}

// Material that cannot be expected to win against what the opponent holds;
// `cannotWin` is set where it cannot win at all.
bool insufficient(const Men& s, const Men& o, uint8_t code, bool& cannotWin) {
  cannotWin = false;
  if (s.p) return false;
  if (code == kKBvK || code == kKvKB) return true;
  int oMinors = minors_of(o);
  bool oRookMinor = o.r >= 1 && oMinors >= 1;
  if (pieces_of(s) == 0) return cannotWin = true;
  if (s.q == 1 && pieces_of(s) == 1) return o.r >= 2 || oRookMinor || oMinors >= 3;
  if (s.r == 1 && pieces_of(s) == 1) return oMinors >= 1;
  if (minors_of(s) == 1 && pieces_of(s) == 1) return cannotWin = true;
  if (s.q == 1 && minors_of(s) == 1 && pieces_of(s) == 2) return o.q >= 1 || o.r >= 2;
  if (s.r == 2 && pieces_of(s) == 2) return o.q >= 1 || oRookMinor || oMinors >= 3;
  if (s.r == 1 && minors_of(s) == 1 && pieces_of(s) == 2) return o.r >= 1 || oMinors >= 2;
  if (s.b == 2 && pieces_of(s) == 2) return o.r >= 1 || o.b >= 1;
  if (s.n == 2 && pieces_of(s) == 2) {
    cannotWin = !(o.p > 0 && pieces_of(o) == 0);
    return true;
  }
  if (s.b == 1 && s.n == 1 && pieces_of(s) == 2) return o.r >= 1 || oMinors >= 1;
  return false;
}

uint8_t side_flags(const Men& s, const Men& o, bool cannotWin) {
  uint8_t f = cannotWin ? kCannotWin : 0;
  if (only_bishops(s) && s.p >= 1) f |= kRookPawnDrawTest;
  if (only_bishops(s) && s.b <= 1 && s.p >= 1 && pieces_of(o) >= 1) f |= kBlockadeDrawTest;
  if (s.n == 1 && s.p == 1 && s.b == 0 && s.r == 0 && s.q == 0 && pieces_of(o) >= 1)
    f |= kKnightPawnDrawTest;
  if (o.q >= 1 && pieces_of(o) >= 2) f |= kKingSafety;
  return f;
}

}  // namespace

MaterialCounts count_material(const Board& b) {
  MaterialCounts m;
  for (int s = 0; s < 2; s++) {
    m.pawns[s] = b.typeCount[0 + s];
    m.knights[s] = b.typeCount[2 + s];
    m.bishops[s] = b.typeCount[4 + s];
    m.rooks[s] = b.typeCount[6 + s];
    m.queens[s] = b.typeCount[8 + s];
  }
  return m;
}

void classify_material(const MaterialCounts& m, MaterialInfo& info, bool insufficientOf[2]) {
  Men w = men_of(m, kWhite), k = men_of(m, kBlack);
  uint8_t code = class_of(w, k);
  info.endgame_code = code;

  bool cannotWin[2];
  insufficientOf[kWhite] = insufficient(w, k, code, cannotWin[kWhite]);
  insufficientOf[kBlack] = insufficient(k, w, code, cannotWin[kBlack]);
  if (code == kKQvKQ || code == kKRvKR) cannotWin[kWhite] = cannotWin[kBlack] = true;

  uint8_t flags = 0;
  bool noHeavyOrPawns = w.p + k.p + w.r + k.r + w.q + k.q == 0;
  if (code == kKPvK || code == kKvKP || code == kKBPvK || code == kKvKBP || code == kKBvKB ||
      (noHeavyOrPawns && minors_of(w) + minors_of(k) <= 1))
    flags |= kDrawishClass;
  if (only_bishops(w) && only_bishops(k) && w.b == 1 && k.b == 1 && std::abs(w.p - k.p) <= 2)
    flags |= kOppositeBishops;
  info.flags = flags;
  info.white_flags = side_flags(w, k, cannotWin[kWhite]);
  info.black_flags = side_flags(k, w, cannotWin[kBlack]);
}

void evaluate_material(const MaterialCounts& m, MaterialInfo& info) {
  const int WP = m.pawns[0], BP = m.pawns[1], WN = m.knights[0], BN = m.knights[1];
  const int WB = m.bishops[0], BB = m.bishops[1], WR = m.rooks[0], BR = m.rooks[1];
  const int WQ = m.queens[0], BQ = m.queens[1];
  const int whitePieces = WN + WB + WR + WQ, blackPieces = BN + BB + BR + BQ;

  // 1. Balance.
  int material = 100 * (WP - BP) + 325 * (WN + WB - BN - BB) + 500 * (WR - BR) + 1000 * (WQ - BQ);
  // 2. Bishop pair.
  if (WB >= 2) material += 50;
  if (BB >= 2) material -= 50;
  // 3. A minor piece is worth more than the pawns given for it.
  if (WB + 1 == BB && WP >= BP + 2)
    material -= 50;
  else if (BB + 1 == WB && BP >= WP + 2)
    material += 50;
  else if (WN + 1 == BN && WP >= BP + 2)
    material -= 80;
  else if (BN + 1 == WN && BP >= WP + 2)
    material += 80;
  // 4. The side ahead likes to trade pieces and keep pawns.
  if (material > 160 && WP >= 1 && whitePieces >= 3) {
    material += 5 * WP + 10 * (6 - WN - WB) - 22 * WQ - 14 * WR;
  } else if (material < -160 && BP >= 1 && blackPieces >= 3) {
    material -= 5 * BP + 10 * (6 - BN - BB) - 22 * BQ - 14 * BR;
  } else {
    if (material > 0 && WP > BP) material += 5 * (whitePieces - WP);
    if (material < 0 && BP > WP) material -= 5 * (blackPieces - BP);
  }
  // 5. No winning chances: the lead counts a fifth.
  bool insufficientOf[2];
  classify_material(m, info, insufficientOf);
  int opening = material, endgame = material;
  if (endgame > 0 && insufficientOf[kWhite]) opening /= 5, endgame /= 5;
  if (endgame < 0 && insufficientOf[kBlack]) opening /= 5, endgame /= 5;
  // 6. Phase: 0 with all pieces on, 256 with none.
  int p = std::max(0, 24 - 4 * (WQ + BQ) - 2 * (WR + BR) - (WN + BN + WB + BB));
  info.phase = static_cast<int16_t>((256 * p + 12) / 24);
  info.material_opening = static_cast<int16_t>(opening);
  info.material_endgame = static_cast<int16_t>(endgame);
}

void clear_material_table() {
  std::memset(material_table, 0, sizeof material_table);
  material_stats = CacheStats();
}

const MaterialInfo& material_probe(const Board& b) {
  MaterialInfo& entry = material_table[static_cast<uint32_t>(b.materialKey) & (kMaterialTableSize - 1)];
  uint32_t check = static_cast<uint32_t>(b.materialKey >> 32);
  material_stats.probes++;
  if (entry.stored && entry.check == check) {
    material_stats.hits++;
    return entry;
  }
  if (entry.stored)
    material_stats.overwrites++;
  else
    material_stats.stores++;
  evaluate_material(count_material(b), entry);
  entry.check = check;
  entry.stored = 1;
  entry.unused = 0;
  return entry;
}

}  // namespace torvek
