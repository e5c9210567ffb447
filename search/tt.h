// The transposition table: one process-wide array of 16-byte slots in buckets
// of four, each bucket one 64-byte cache line. A slot keeps a best move and a
// lower and an upper bound independently, each with its own depth, so a
// shallow store never overwrites deeper knowledge of another kind. Slots carry
// a generation (1..15); 0 marks a permanent (learned) slot, three at most
// per bucket. Scores in the
// table are relative to the slot's position; score_to_table/score_from_table
// convert mate scores from and to root-relative distances.
//
// The search threads share the table without locks. A slot is kept as two
// 64-bit words read and written as relaxed atomics; its check field is
// stored XOR the other twelve bytes, so a slot read half before and half
// after another thread's write fails the key check and counts as a miss.
// The move of a hit is still tested against the position before use.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace torvek {

class Board;

constexpr int kNoLowerBound = -30000;
constexpr int kNoUpperBound = 30000;
constexpr int kNoDepth = -128;
constexpr int kMateThreshold = 29600;

struct TTEntry {
  uint32_t check;  // upper half of the position key; 0 in an empty slot
  uint16_t move;
  int8_t entry_depth;
  uint8_t age;
  int8_t move_depth;
  uint8_t reserved;
  int8_t lower_depth;
  int8_t upper_depth;
  int16_t lower;
  int16_t upper;
};
static_assert(sizeof(TTEntry) == 16, "a slot must stay 16 bytes: four make a cache line");

// A slot as the table holds it: the entry's first and last eight bytes, the
// check field folded with the rest.
struct TTSlot {
  uint64_t head, body;
};

inline uint32_t tt_fold(uint64_t head, uint64_t body) {
  return static_cast<uint32_t>(head >> 32) ^ static_cast<uint32_t>(body) ^
         static_cast<uint32_t>(body >> 32);
}

// What a probe hands back: depths sign-extended, scores still table-relative.
struct TTHit {
  int move;
  int lower_depth, upper_depth;
  int lower, upper;
};

class TranspositionTable {
 public:
  TranspositionTable();
  ~TranspositionTable();
  TranspositionTable(const TranspositionTable&) = delete;
  TranspositionTable& operator=(const TranspositionTable&) = delete;

  // Sizes the table to `bytes` (rounded to whole buckets), prints the
  // allocation line and clears it. When the memory cannot be had, reports
  // it with an "info string" line and keeps the previous table.
  bool allocate_bytes(uint64_t bytes);
  bool allocate(int megabytes) { return allocate_bytes(static_cast<uint64_t>(megabytes) << 20); }
  // Back to the unallocated state: a single internal bucket stands in so
  // that probes and stores stay safe before the first allocation.
  void release();
  bool allocated() const { return block_ != nullptr; }

  void clear();
  void new_generation(int g);
  bool probe(uint32_t keyLow, uint32_t keyHigh, TTHit& hit);
  void store(uint32_t keyLow, uint32_t keyHigh, int move, int depth, int lower, int upper);
  // A permanent slot with both bounds at `score`; the deepest record of a
  // position wins, and at most three slots of a bucket are permanent.
  void store_learned(uint32_t keyLow, uint32_t keyHigh, int move, int depth, int score);
  double hashfull() const;
  // Writes a principal variation (ended by 0 or the null move) as move-only
  // slots, from its end back to its start; the board is left as it was.
  void store_pv(const uint16_t* pv, Board& board);

  int generation() const { return generation_; }
  uint32_t entries() const { return entries_; }
  uint64_t bytes() const { return bytes_; }
  uint32_t filled() const { return filled_.load(std::memory_order_relaxed); }
  // For tests and tools: slot `index` (0 .. entries() - 1) as an entry, the
  // first slot of a key's bucket, and where the slots start.
  TTEntry slot(uint32_t index) const { return read(index); }
  uint32_t bucket_of(uint32_t keyLow) const { return index_of(keyLow) & ~3u; }
  const void* data() const { return table_; }
  // Starts loading the bucket of a position that is about to be probed.
  void prefetch(uint32_t keyLow) const { __builtin_prefetch(table_ + bucket_of(keyLow)); }
  // keyLow mod entries, exactly, by two multiplications instead of a
  // division (Lemire's fastmod for 32-bit operands).
  uint32_t index_of(uint32_t keyLow) const {
    uint64_t low = modMagic_ * keyLow;
    return static_cast<uint32_t>((static_cast<unsigned __int128>(low) * entries_) >> 64);
  }

 private:
  TTEntry read(uint32_t index) const;
  void write(uint32_t index, const TTEntry& e);
  // Filled slots of this generation, an estimate: threads count without
  // locking, so now and then an increment is lost.
  void count_filled() { filled_.store(filled_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed); }

  void* block_ = nullptr;
  TTSlot* table_ = nullptr;
  int age_distance_[16] = {};
  std::atomic<uint32_t> filled_{0};
  uint32_t entries_ = 0;
  uint64_t modMagic_ = 0;  // 2^64 / entries_, rounded up
  uint64_t bytes_ = 0;
  int generation_ = 1;
};

extern TranspositionTable transpositionTable;

inline int score_to_table(int v, int ply) {
  if (v < -kMateThreshold) return v - ply;
  if (v > kMateThreshold) return v + ply;
  return v;
}

inline int score_from_table(int v, int ply) {
  if (v < -kMateThreshold) return v + ply;
  if (v > kMateThreshold) return v - ply;
  return v;
}

inline uint32_t key_low(uint64_t key) { return static_cast<uint32_t>(key); }
inline uint32_t key_high(uint64_t key) { return static_cast<uint32_t>(key >> 32); }

}  // namespace torvek
