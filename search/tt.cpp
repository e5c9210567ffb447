// Transposition table storage, probing and the replacement rules. The entry
// count need not be a power of two: a bucket is chosen by one unsigned modulo
// of the key's low half, with the two low bits cleared.
#include "search/tt.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>

#include "core/output.h"

namespace torvek {

TranspositionTable transpositionTable;

namespace {

// Stands in for the table until the first allocation, so that a stray probe
// or store before start-up has finished touches valid memory.
alignas(64) TTSlot standInBucket[4];

constexpr TTEntry kEmptyEntry = {0, 0, kNoDepth, 1, kNoDepth, 0, kNoDepth, kNoDepth,
                                 kNoLowerBound, kNoUpperBound};

// Probes land anywhere in the table, so with small pages nearly every probe
// also misses the TLB; large tables are aligned for and asked to get huge
// pages (a hint: without them the table works the same, only slower).
void* allocate_block(uint64_t size) {
  constexpr uint64_t kHugePage = 2u << 20;
  uint64_t alignment = size >= kHugePage ? kHugePage : 64;
  uint64_t rounded = (size + alignment - 1) / alignment * alignment;
  void* block = nullptr;
  if (posix_memalign(&block, alignment, rounded) != 0) return nullptr;
#ifdef MADV_HUGEPAGE
  if (alignment == kHugePage) madvise(block, rounded, MADV_HUGEPAGE);
#endif
  return block;
}

// The fourth slot of every bucket stays free for the search.
constexpr int kMaxPermanentPerBucket = 3;

int8_t clamp_depth(int depth) { return static_cast<int8_t>(std::clamp(depth, -127, 127)); }

}  // namespace

TranspositionTable::TranspositionTable() { release(); }

TranspositionTable::~TranspositionTable() { std::free(block_); }

void TranspositionTable::release() {
  std::free(block_);
  block_ = nullptr;
  table_ = standInBucket;
  entries_ = 4;
  modMagic_ = UINT64_MAX / entries_ + 1;
  bytes_ = sizeof standInBucket;
  clear();
}

bool TranspositionTable::allocate_bytes(uint64_t requested) {
  uint64_t count = ((requested / sizeof(TTEntry)) + 3) / 4 * 4;
  if (count == 0) count = 4;
  uint64_t size = count * sizeof(TTEntry);
  void* block = count <= 0xFFFFFFF0u ? allocate_block(size) : nullptr;
  if (!block) {
    Print("info string Hash of %llu bytes cannot be allocated; keeping %u entries",
          static_cast<unsigned long long>(requested), entries_);
    return false;
  }
  std::free(block_);
  block_ = block;
  table_ = static_cast<TTSlot*>(block);
  entries_ = static_cast<uint32_t>(count);
  modMagic_ = UINT64_MAX / entries_ + 1;
  bytes_ = size;
  Print("DBD: Alloc Hash %u entries using %llu bytes", entries_,
        static_cast<unsigned long long>(bytes_));
  clear();
  return true;
}

namespace {

// The slot as stored: the check folded with the rest of the entry.
TTSlot encode(const TTEntry& e) {
  TTSlot slot;
  std::memcpy(&slot.head, &e, sizeof slot.head);
  std::memcpy(&slot.body, reinterpret_cast<const char*>(&e) + sizeof slot.head, sizeof slot.body);
  slot.head ^= tt_fold(slot.head, slot.body);
  return slot;
}

}  // namespace

// Plain stores: no search runs while the table is cleared.
void TranspositionTable::clear() {
  new_generation(1);
  std::fill(table_, table_ + entries_, encode(kEmptyEntry));
}

TTEntry TranspositionTable::read(uint32_t index) const {
  uint64_t head = __atomic_load_n(&table_[index].head, __ATOMIC_RELAXED);
  uint64_t body = __atomic_load_n(&table_[index].body, __ATOMIC_RELAXED);
  head ^= tt_fold(head, body);
  TTEntry e;
  std::memcpy(&e, &head, sizeof head);
  std::memcpy(reinterpret_cast<char*>(&e) + sizeof head, &body, sizeof body);
  return e;
}

void TranspositionTable::write(uint32_t index, const TTEntry& e) {
  TTSlot slot = encode(e);
  __atomic_store_n(&table_[index].head, slot.head, __ATOMIC_RELAXED);
  __atomic_store_n(&table_[index].body, slot.body, __ATOMIC_RELAXED);
}

void TranspositionTable::new_generation(int g) {
  generation_ = g;
  age_distance_[0] = 0;
  for (int a = 1; a < 16; a++) age_distance_[a] = g - a >= 0 ? g - a + 1 : g - a + 16;
  filled_.store(0, std::memory_order_relaxed);
}

bool TranspositionTable::probe(uint32_t keyLow, uint32_t keyHigh, TTHit& hit) {
  uint32_t first = bucket_of(keyLow);
  for (uint32_t i = first; i < first + 4; i++) {
    TTEntry e = read(i);
    if (e.check != keyHigh) continue;
    if (e.age != generation_) {
      e.age = static_cast<uint8_t>(generation_);
      write(i, e);
    }
    hit.move = e.move;
    hit.lower_depth = e.lower_depth;
    hit.upper_depth = e.upper_depth;
    hit.lower = e.lower;
    hit.upper = e.upper;
    return true;
  }
  return false;
}

void TranspositionTable::store(uint32_t keyLow, uint32_t keyHigh, int move, int depth, int lower,
                               int upper) {
  uint32_t first = bucket_of(keyLow);
  TTEntry bucket[4];
  int8_t d = clamp_depth(depth);
  for (int i = 0; i < 4; i++) {
    TTEntry& e = bucket[i] = read(first + i);
    if (e.check != keyHigh) continue;
    if (e.age != generation_) count_filled();
    if (!(e.age == 0 && d <= e.entry_depth)) e.age = static_cast<uint8_t>(generation_);
    if (d > e.entry_depth) e.entry_depth = d;
    if (lower > kNoLowerBound && d >= e.lower_depth) {
      e.lower_depth = d;
      e.lower = static_cast<int16_t>(lower);
    }
    if (upper < kNoUpperBound && d >= e.upper_depth) {
      e.upper_depth = d;
      e.upper = static_cast<int16_t>(upper);
    }
    if (move != 0 && d >= e.move_depth) {
      e.move_depth = d;
      e.move = static_cast<uint16_t>(move);
    }
    write(first + i, e);
    return;
  }
  // Replace the slot of the oldest generation, within a generation the
  // shallowest; permanent slots (distance 0) only when all four are.
  int victim = 0;
  int bestScore = age_distance_[bucket[0].age & 15] * 256 - bucket[0].entry_depth;
  for (int i = 1; i < 4; i++) {
    int score = age_distance_[bucket[i].age & 15] * 256 - bucket[i].entry_depth;
    if (score > bestScore) bestScore = score, victim = i;
  }
  TTEntry& e = bucket[victim];
  if (e.age != generation_) count_filled();
  e.check = keyHigh;
  e.age = static_cast<uint8_t>(generation_);
  e.entry_depth = d;
  e.move = static_cast<uint16_t>(move);
  e.move_depth = move ? d : kNoDepth;
  e.reserved = 0;
  bool hasLower = lower > kNoLowerBound, hasUpper = upper < kNoUpperBound;
  e.lower = static_cast<int16_t>(hasLower ? lower : kNoLowerBound);
  e.lower_depth = hasLower ? d : kNoDepth;
  e.upper = static_cast<int16_t>(hasUpper ? upper : kNoUpperBound);
  e.upper_depth = hasUpper ? d : kNoDepth;
  write(first + victim, e);
}

// A learned position goes into its own slot if it has one, else into the
// slot the search would replace, so that learned positions of one bucket do
// not push each other out. At most three slots of a bucket are permanent:
// the fourth stays the search's. A bucket whose three are taken keeps the
// deepest learned positions: the shallowest becomes an ordinary slot of the
// oldest generation or is overwritten.
void TranspositionTable::store_learned(uint32_t keyLow, uint32_t keyHigh, int move, int depth,
                                       int score) {
  uint32_t first = bucket_of(keyLow);
  TTEntry bucket[4], before[4];
  for (int i = 0; i < 4; i++) bucket[i] = before[i] = read(first + i);
  int8_t d = clamp_depth(depth);
  TTEntry* match = nullptr;
  TTEntry* shallowest = nullptr;  // of the other permanent slots
  TTEntry* free = nullptr;        // the search's replacement choice among the ordinary
  int permanent = 0, freeScore = INT32_MIN;
  for (int i = 0; i < 4; i++) {
    TTEntry& e = bucket[i];
    if (!match && e.check == keyHigh) {
      match = &e;
    } else if (e.age == 0) {
      permanent++;
      if (!shallowest || e.entry_depth < shallowest->entry_depth) shallowest = &e;
    } else if (age_distance_[e.age & 15] * 256 - e.entry_depth > freeScore) {
      freeScore = age_distance_[e.age & 15] * 256 - e.entry_depth;
      free = &e;
    }
  }
  if (match && match->age == 0 && match->entry_depth >= d) return;
  TTEntry* target = match ? match : free;
  if (!(match && match->age == 0) && permanent >= kMaxPermanentPerBucket) {
    if (shallowest->entry_depth >= d) return;
    if (match)
      shallowest->age = static_cast<uint8_t>(generation_ % 15 + 1);
    else
      target = shallowest;
  }
  if (match) count_filled();
  TTEntry& e = *target;
  e.check = keyHigh;
  e.move = static_cast<uint16_t>(move);
  e.entry_depth = e.move_depth = e.lower_depth = e.upper_depth = d;
  e.lower = e.upper = static_cast<int16_t>(score);
  e.age = 0;
  e.reserved = 0;
  for (int i = 0; i < 4; i++)
    if (std::memcmp(&bucket[i], &before[i], sizeof(TTEntry)) != 0) write(first + i, bucket[i]);
}

double TranspositionTable::hashfull() const {
  return static_cast<double>(filled()) / static_cast<double>(entries_) * 1000.0;
}

}  // namespace torvek
