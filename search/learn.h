// Position learning: the results of a game's first aborted searches (root
// position, best move, depth, score) go into the transposition table as
// permanent slots and, once LearnDepth of them are gathered, are appended to
// the learning file in one write. A new UCI game reads the whole file back
// into the table. The file is a headerless run of 13-byte little-endian
// records: key (8), move (2), depth (1, unsigned), score (2, signed).
#pragma once

#include <cstdint>
#include <string>

namespace torvek {

constexpr int kLearnRecordSize = 13;
constexpr int kLearnListSize = 10;  // positions remembered per game at most

struct LearnEntry {
  uint64_t key;
  uint16_t move;
  uint8_t depth;
  int16_t score;
};

struct LearnState {
  std::string path = "learn.bin";
  LearnEntry pending[kLearnListSize + 1] = {};  // ended by an entry whose key is 0
  unsigned pending_count = 0;  // raised once more when the batch has been written
};

extern LearnState learnState;

// Keeps one position: a permanent table slot and an entry of the batch.
void remember(uint64_t key, int move, int depth, int score);
// Appends the pending batch to learnState.path in one write.
void save_learnt();
// Loads every sound record of `path` into the table as a permanent slot.
void load_learnt(const char* path);

// What Root's abort path learns: the position (after iteration 1, and not
// when the book supplied the move) until LearnDepth are pending, then the
// one write of the game.
void learn_from_aborted_search(uint64_t rootKey, int iteration, int bestMove, int bestScore,
                               bool bookMove);
// A new UCI game: an empty batch and the file read back ("learn.bin").
void learn_new_game();

// Encoding of one record; decode rejects what no search can have written.
void encode_learn_record(const LearnEntry& entry, unsigned char* out);
bool decode_learn_record(const unsigned char* in, LearnEntry& entry);

}  // namespace torvek
