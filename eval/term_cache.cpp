// The positional-term cache: direct-mapped 16-byte slots checked by the full
// key, so a wrong hit needs two positions equal in all 64 key bits.
#include "eval/term_cache.h"

#include <algorithm>

#include "board/board.h"

namespace torvek {

namespace {

struct TermEntry {
  uint64_t key;  // 0 in an empty slot
  int32_t opening, endgame;
};

constexpr int kTermCacheSize = 8192;  // 128 KB
// Per thread, as the pawn and material caches.
thread_local TermEntry termCache[kTermCacheSize];
// The weights the cached sums were computed with.
thread_local int cachedWeights[3] = {256, 256, 256};

// The slot of the board's position, after dropping every entry if the board
// evaluates with other weights than the cached sums.
TermEntry& slot_of(const Board& b) {
  if (b.mobility_weight != cachedWeights[0] || b.king_safety_weight != cachedWeights[1] ||
      b.passer_weight != cachedWeights[2]) {
    clear_term_cache();
    cachedWeights[0] = b.mobility_weight;
    cachedWeights[1] = b.king_safety_weight;
    cachedWeights[2] = b.passer_weight;
  }
  return termCache[b.hashKey & (kTermCacheSize - 1)];
}

}  // namespace

void term_cache_prefetch(const Board& b) {
  __builtin_prefetch(&termCache[b.hashKey & (kTermCacheSize - 1)]);
}

bool term_cache_probe(const Board& b, TermSums& sums) {
  const TermEntry& e = slot_of(b);
  if (e.key != b.hashKey || b.hashKey == 0) return false;
  sums = {e.opening, e.endgame};
  return true;
}

void term_cache_store(const Board& b, const TermSums& sums) {
  TermEntry& e = slot_of(b);
  e = {b.hashKey, sums.opening, sums.endgame};
}

void clear_term_cache() { std::fill(termCache, termCache + kTermCacheSize, TermEntry{0, 0, 0}); }

}  // namespace torvek
