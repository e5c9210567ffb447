// Position learning in a scratch folder: when a game's batch is written (and
// only then), what loading keeps, and the damaged, missing, misplaced and
// shared files it must survive without losing what is already on disk.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/fen.h"
#include "board/make.h"
#include "board/movegen.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/fixed_depth.h"
#include "search/learn.h"
#include "search/params.h"
#include "search/report.h"
#include "search/root.h"
#include "search/tt.h"
#include "search_test_util.h"

using namespace torvek;
namespace fs = std::filesystem;

namespace {

const char* const kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

std::string slurp(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_file(const char* path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string record(const LearnEntry& e) {
  unsigned char raw[kLearnRecordSize];
  encode_learn_record(e, raw);
  return std::string(reinterpret_cast<char*>(raw), sizeof raw);
}

std::string record(uint64_t key, int move, int depth, int score) {
  return record({key, static_cast<uint16_t>(move), static_cast<uint8_t>(depth),
                 static_cast<int16_t>(score)});
}

uint64_t key_of(const char* fen) {
  static Board b;
  SetupFEN(b, fen);
  return b.hashKey;
}

// Runs in the test program's scratch folder, where learn.bin is looked for.
class LearnTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all("learn.bin");
    globals.quiet = true;
    if (!transpositionTable.allocated()) transpositionTable.allocate(16);
    ensure_first_time_setup();
    transpositionTable.clear();
    learnState = LearnState();
    savedParams = searchParams;
    globals.quiet = false;
  }
  void TearDown() override {
    searchParams = savedParams;
    learnState = LearnState();
    fs::remove_all("learn.bin");
  }
  // Loads or saves with the output captured.
  std::string load(const char* path = "learn.bin") {
    testing::internal::CaptureStdout();
    load_learnt(path);
    return testing::internal::GetCapturedStdout();
  }
  std::string save() {
    testing::internal::CaptureStdout();
    save_learnt();
    return testing::internal::GetCapturedStdout();
  }
  // The table's answer for a key, leaving the slot as it was.
  bool learned(uint64_t key, TTEntry& out) {
    uint32_t first = transpositionTable.bucket_of(key_low(key));
    for (uint32_t i = first; i < first + 4; i++) {
      TTEntry e = transpositionTable.slot(i);
      if (e.check == key_high(key)) return out = e, true;
    }
    return false;
  }
  // One search of the start position, stopped by its node limit; an early
  // first poll stops it inside iteration 1.
  int aborted_search(bool inFirstIteration) {
    SetupFEN(topBoard, kStart);
    SearchContext& sc = searchContext;
    sc.limits = SearchLimits();
    reset_search();
    sc.limits.node_limit = inFirstIteration ? 1 : 20000;
    if (inFirstIteration) sc.poll_countdown = 1;
    globals.quiet = true;
    Root(&topBoard);
    globals.quiet = false;
    sc.limits.node_limit = 0;
    return sc.iteration;
  }
  SearchParams savedParams;
};

}  // namespace

TEST_F(LearnTest, BatchIsWrittenOnceOnTheAbortAfterLearnDepth) {
  searchParams.LearnDepth = 6;
  EXPECT_EQ(aborted_search(true), 1);  // iteration 1: nothing to remember
  EXPECT_EQ(learnState.pending_count, 0u);
  for (int i = 0; i < 6; i++) EXPECT_GT(aborted_search(false), 1);
  EXPECT_EQ(learnState.pending_count, 6u);
  EXPECT_FALSE(fs::exists("learn.bin"));
  // The seventh abort writes, even one inside iteration 1.
  aborted_search(true);
  std::string file = slurp("learn.bin");
  ASSERT_EQ(file.size(), 78u);
  EXPECT_EQ(file.substr(0, kLearnRecordSize), record(learnState.pending[0]));
  EXPECT_EQ(learnState.pending[0].key, key_of(kStart));
  for (int i = 0; i < 3; i++) aborted_search(false);
  EXPECT_EQ(slurp("learn.bin"), file);
  EXPECT_EQ(learnState.pending_count, 7u);
}

TEST_F(LearnTest, LearnDepthZeroAppendsAnEmptyBatch) {
  searchParams.LearnDepth = 0;
  aborted_search(false);
  EXPECT_TRUE(fs::exists("learn.bin"));
  EXPECT_EQ(fs::file_size("learn.bin"), 0u);
  TTEntry slot;
  EXPECT_FALSE(learned(key_of(kStart), slot) && slot.age == 0);
}

TEST_F(LearnTest, DeepestRecordOfAPositionWins) {
  uint64_t key = key_of(kStart);
  write_file("learn.bin", record(key, 100, 8, 11) + record(key, 200, 10, 22) +
                              record(key, 300, 9, 33) + record(key, 400, 8, 44));
  EXPECT_EQ(load(), "");
  TTEntry slot;
  ASSERT_TRUE(learned(key, slot));
  EXPECT_EQ(slot.age, 0);
  EXPECT_EQ(slot.move, 200);
  EXPECT_EQ(slot.lower_depth, 10);
  EXPECT_EQ(slot.upper, 22);
}

// The file only grows: a few years of games. Keys are random, a tenth of
// them repeat an earlier position at another depth.
TEST_F(LearnTest, HundredThousandRecordsLoadAndLeaveRoomForTheSearch) {
  constexpr int kRecords = 100000;
  std::mt19937_64 rng(14);
  std::vector<uint64_t> keys;
  std::map<uint64_t, int> deepest;
  std::string file;
  for (int i = 0; i < kRecords; i++) {
    uint64_t key = i % 10 == 9 ? keys[rng() % keys.size()] : rng() | 1;
    int depth = 2 + static_cast<int>(rng() % 30);
    keys.push_back(key);
    deepest[key] = std::max(deepest[key], depth);
    file += record(key, 0, depth, static_cast<int>(rng() % 2001) - 1000);
  }
  write_file("learn.bin", file);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(load(), "");
  std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;

  int kept = 0;
  for (auto [key, depth] : deepest) {
    TTEntry slot;
    kept += learned(key, slot) && slot.age == 0 && slot.entry_depth == depth;
  }
  // Every bucket keeps a slot for the search, and a search store lands.
  TranspositionTable& tt = transpositionTable;
  int fullBuckets = 0, storesLost = 0;
  for (uint32_t b = 0; b < tt.entries(); b += 4)  // ages adding up to 0: all permanent
    fullBuckets += tt.slot(b).age + tt.slot(b + 1).age + tt.slot(b + 2).age +
                       tt.slot(b + 3).age == 0;
  tt.new_generation(2);
  for (uint32_t low = 0; low < 4 * tt.entries(); low += 3) {
    tt.store(low, 0xABCD0000u + (low & 0xFFFF), 0, 3, 10, 10);
    TTHit hit;
    storesLost += !tt.probe(low, 0xABCD0000u + (low & 0xFFFF), hit);
  }
  std::printf("[ measure  ] %d records (%zu positions) into %u slots: %.1f ms, %d kept, "
              "%d buckets all permanent, %d search stores lost\n",
              kRecords, deepest.size(), tt.entries(), ms.count(), kept, fullBuckets, storesLost);
  EXPECT_EQ(fullBuckets, 0);
  EXPECT_EQ(storesLost, 0);
  EXPECT_GT(kept, static_cast<int>(deepest.size()) * 99 / 100);
}

TEST_F(LearnTest, ImpossibleAndPartialRecordsAreSkippedAndTheFileStaysWhole) {
  uint64_t a = 0x1111222233334444ull, b = 0x5555666677778888ull;
  auto other = [](uint64_t key, uint64_t n) { return key ^ n << 40; };  // same bucket, not key
  std::string sound = record(a, 100, 5, -20) + record(other(a, 1), 0, 0, 0) +
                      record(other(a, 2), 0, 60, 0) + record(other(a, 3), 0, 255, 0) +
                      record(other(a, 4), 0, 7, 30000) + record(other(a, 5), 0, 7, -32767) +
                      std::string(kLearnRecordSize, '\0') + record(b, 200, 59, 29990);
  const std::string cut = record(other(b, 1), 300, 9, 0);
  write_file("learn.bin", sound + cut.substr(0, 12));
  std::string out = load();
  EXPECT_NE(out.find("info string Learning File learn.bin ends in a partial record of 12 bytes"),
            std::string::npos) << out;
  EXPECT_NE(out.find("info string Learning File learn.bin: 6 records with an impossible"),
            std::string::npos) << out;
  TTEntry slot;
  EXPECT_TRUE(learned(a, slot) && slot.move == 100 && slot.lower == -20);
  EXPECT_TRUE(learned(b, slot) && slot.move == 200 && slot.upper == 29990);
  for (uint64_t k = 1; k <= 5; k++) EXPECT_FALSE(learned(other(a, k), slot)) << k;
  EXPECT_FALSE(learned(other(b, 1), slot));

  // The next batch goes on the record grid: the partial record is cut off.
  learnState.pending[0] = {other(b, 1), 300, 9, 0};
  learnState.pending[1] = {};
  out = save();
  EXPECT_NE(out.find("partial record of 12 bytes; it was cut off"), std::string::npos) << out;
  EXPECT_EQ(slurp("learn.bin"), sound + cut);
}

TEST_F(LearnTest, UnplayableLearnedMovesAreNeverPlayed) {
  // The start position and all its children learned with moves that are
  // nonsense there: the other side's moves, empty squares, garbage words.
  static Board b;
  SetupFEN(b, kStart);
  MoveList legal;
  legal.count = 0;
  gen_legal(b, legal);
  std::string file = record(b.hashKey, legal.moves[0] ^ 0x0FFF, 40, 500);
  for (int i = 0; i < legal.count; i++) {
    static Board child;
    child = b;
    UndoInfo undo;
    make_move(child, legal.moves[i], undo);
    file += record(child.hashKey, i % 2 ? legal.moves[i] : 0xFFFF, 40, i % 3 ? -500 : 500);
  }
  write_file("learn.bin", file);
  load();
  SetupFEN(topBoard, kStart);
  globals.quiet = true;
  run_fixed_depth_search(sanitized_build() ? 4 : 6);
  globals.quiet = false;
  bool played = false;
  for (int i = 0; i < legal.count; i++) played |= legal.moves[i] == searchContext.best_move;
  EXPECT_TRUE(played) << move_text(searchContext.best_move);
}

TEST_F(LearnTest, MissingMisplacedAndUnreadableFilesCostOnlyTheLearning) {
  EXPECT_EQ(load(), "info string Couldn't find Learning File learn.bin. Will create a new one.\n");
  EXPECT_TRUE(fs::is_regular_file("learn.bin"));
  EXPECT_EQ(fs::file_size("learn.bin"), 0u);
  fs::remove("learn.bin");
  learnState.pending[0] = {1234, 0, 5, 0};
  learnState.pending[1] = {};
  const std::string lost =
      "info string Couldn't find Learning File learn.bin. No learning took place.\n";

  fs::create_directory("learn.bin");
  EXPECT_EQ(load(), "info string Couldn't read Learning File learn.bin: Is a directory. "
                    "Nothing was learned from it.\n");
  EXPECT_EQ(save(), lost);
  EXPECT_TRUE(fs::is_directory("learn.bin"));
  fs::remove("learn.bin");

  ASSERT_EQ(mkfifo("learn.bin", 0644), 0);  // must not wait for a writer
  EXPECT_NE(load().find("Couldn't read Learning File learn.bin"), std::string::npos);
  EXPECT_EQ(save(), lost);
  fs::remove("learn.bin");

  std::string kept;
  for (int i = 0; i < 15; i++) kept += record(99 + i, 1, 5, 0);
  write_file("learn.bin", kept);
  if (geteuid() != 0) {  // permissions do not bind root
    fs::permissions("learn.bin", fs::perms::none);
    EXPECT_NE(load().find("Permission denied. Nothing was learned"), std::string::npos);
    EXPECT_EQ(save(), lost);
    fs::permissions("learn.bin", fs::perms::owner_read);
    EXPECT_EQ(save(), lost);
    fs::permissions("learn.bin", fs::perms::owner_all);
  }
  // A disk that fills up in the middle of the batch: the part is taken back.
  // (The limit holds for the captured output too: it stays below it.)
  struct rlimit old;
  getrlimit(RLIMIT_FSIZE, &old);
  struct rlimit tight = old;
  tight.rlim_cur = kept.size() + 5;
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &tight);
  std::string out = save();
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_NE(out.find("info string Writing Learning File learn.bin failed"), std::string::npos)
      << out;
  EXPECT_EQ(slurp("learn.bin"), kept);
}

// A self-play match: two engines in one folder end their games together.
TEST_F(LearnTest, TwoEnginesAppendWholeBatchesOnly) {
  constexpr int kSaves = 200;
  pid_t children[2];
  for (int writer = 0; writer < 2; writer++) {
    children[writer] = fork();
    ASSERT_GE(children[writer], 0);
    if (children[writer] > 0) continue;
    for (int i = 0; i < kLearnListSize; i++)
      learnState.pending[i] = {uint64_t(writer + 1) << 32 | uint64_t(i + 1), 0, 5, 0};
    learnState.pending[kLearnListSize] = {};
    globals.quiet = true;
    for (int n = 0; n < kSaves; n++) save_learnt();
    _exit(0);
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::string batches[2], file = slurp("learn.bin");
  for (int writer = 0; writer < 2; writer++)
    for (int i = 0; i < kLearnListSize; i++)
      batches[writer] += record(uint64_t(writer + 1) << 32 | uint64_t(i + 1), 0, 5, 0);
  ASSERT_EQ(file.size(), 2 * kSaves * batches[0].size());
  for (size_t at = 0; at < file.size(); at += batches[0].size()) {
    std::string batch = file.substr(at, batches[0].size());
    ASSERT_TRUE(batch == batches[0] || batch == batches[1]) << at;
  }
}
