// Position learning: what a game remembers and when its batch is written.
// The file itself is read and appended in learn_file.cpp.
#include "search/learn.h"

#include <algorithm>

#include "core/globals.h"
#include "core/output.h"
#include "search/params.h"
#include "search/report.h"
#include "search/tt.h"

namespace torvek {

LearnState learnState;

namespace {

// The root search never gets past iteration 59, and a position is learned
// only after iteration 1 has finished.
constexpr int kMinLearnDepth = 2;
constexpr int kMaxLearnDepth = 59;

// The batch size of a game: LearnDepth, with the list's ten at most.
unsigned learn_limit() {
  return static_cast<unsigned>(std::clamp(searchParams.LearnDepth, 0, kLearnListSize));
}

}  // namespace

void encode_learn_record(const LearnEntry& entry, unsigned char* out) {
  for (int i = 0; i < 8; i++) out[i] = static_cast<unsigned char>(entry.key >> (8 * i));
  out[8] = static_cast<unsigned char>(entry.move);
  out[9] = static_cast<unsigned char>(entry.move >> 8);
  out[10] = entry.depth;
  uint16_t score = static_cast<uint16_t>(entry.score);
  out[11] = static_cast<unsigned char>(score);
  out[12] = static_cast<unsigned char>(score >> 8);
}

bool decode_learn_record(const unsigned char* in, LearnEntry& entry) {
  entry.key = 0;
  for (int i = 7; i >= 0; i--) entry.key = entry.key << 8 | in[i];
  entry.move = static_cast<uint16_t>(in[8] | in[9] << 8);
  entry.depth = in[10];
  entry.score = static_cast<int16_t>(static_cast<uint16_t>(in[11] | in[12] << 8));
  // A zero key ends the batch in memory and is what zeroed disk blocks
  // read as; a score of +-30000 or beyond would be a missing bound.
  return entry.key != 0 && entry.depth >= kMinLearnDepth && entry.depth <= kMaxLearnDepth &&
         entry.score > kNoLowerBound && entry.score < kNoUpperBound;
}

void remember(uint64_t key, int move, int depth, int score) {
  if (globals.debug)
    Print("info string Remember %llu %s d=%u val=%i", static_cast<unsigned long long>(key),
          move_text(move).c_str(), static_cast<unsigned>(depth), score);
  transpositionTable.store_learned(key_low(key), key_high(key), move, depth, score);
  LearnState& ls = learnState;
  if (ls.pending_count >= kLearnListSize) return;
  ls.pending[ls.pending_count] = {key, static_cast<uint16_t>(move), static_cast<uint8_t>(depth),
                                  static_cast<int16_t>(score)};
  ls.pending_count++;
  ls.pending[ls.pending_count].key = 0;
}

void learn_from_aborted_search(uint64_t rootKey, int iteration, int bestMove, int bestScore,
                               bool bookMove) {
  LearnState& ls = learnState;
  unsigned limit = learn_limit();
  if (iteration > 1 && ls.pending_count < limit && !bookMove) {
    remember(rootKey, bestMove, iteration, bestScore);
  } else if (ls.pending_count == limit) {
    save_learnt();
    ls.pending_count++;  // written: nothing more until the next game
  }
}

void learn_new_game() {
  // The WinBoard program keeps one learning state per run: it never reads
  // the file and so appends at most one batch.
  if (kWinBoard) return;
  LearnState& ls = learnState;
  ls.path = "learn.bin";
  ls.pending_count = 0;
  ls.pending[0] = {};
  load_learnt("learn.bin");
}

}  // namespace torvek
