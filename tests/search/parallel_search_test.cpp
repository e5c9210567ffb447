// The parallel search: the shared table under concurrent writers and readers
// (a torn slot must read as a miss, never as a mixed entry), searches with
// helpers that answer legally and stop on every kind of limit, and one
// thread again after several giving exactly the one-thread search.
// The ThreadSanitizer build runs these (label "threads").
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "board/board.h"
#include "board/fen.h"
#include "board/movegen.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/fixed_depth.h"
#include "search/root.h"
#include "search/threads.h"
#include "search/tt.h"
#include "search_test_util.h"

using namespace torvek;

namespace {

// Everything a slot holds follows from its key, so a hit whose fields
// disagree with each other was assembled from two different writes.
struct KeyedEntry {
  int move, depth, score;
};

KeyedEntry entry_for(uint32_t high) {
  return {static_cast<int>(high % 4000) + 1, static_cast<int>(high % 40),
          static_cast<int>(high % 2000) - 1000};
}

// A slot whose first half comes from one write and second half from another
// (what a reader sees when a writer overtakes it): a miss for both keys.
TEST(ParallelTable, HalfOfOneEntryAndHalfOfAnotherIsAMiss) {
  globals.quiet = true;
  TranspositionTable tt;
  ASSERT_TRUE(tt.allocate_bytes(1024));
  globals.quiet = false;
  auto* words = static_cast<uint64_t*>(const_cast<void*>(tt.data()));
  tt.store(0, 111, 300, 5, 40, 40);
  uint64_t firstHead = words[0];
  tt.clear();
  tt.store(0, 222, 600, 9, -70, 90);
  ASSERT_EQ(tt.slot(0).check, 222u);
  uint64_t secondHead = words[0];
  words[0] = firstHead;  // the first entry's half over the second's body
  TTHit hit;
  EXPECT_FALSE(tt.probe(0, 111, hit));
  EXPECT_FALSE(tt.probe(0, 222, hit));
  words[0] = secondHead;
  ASSERT_TRUE(tt.probe(0, 222, hit));
  EXPECT_EQ(hit.move, 600);
  EXPECT_EQ(hit.lower, -70);
}

// Writers and readers hammer the 16 buckets of a 1 KB table with a few
// hundred keys, so that a probed slot is often being rewritten with another
// key's entry: every hit must still be one whole entry.
TEST(ParallelTable, TornSlotsReadAsMisses) {
  globals.quiet = true;
  TranspositionTable tt;
  ASSERT_TRUE(tt.allocate_bytes(1024));
  globals.quiet = false;
  constexpr int kThreads = 4;
  const int rounds = sanitized_build() ? 100000 : 2000000;
  std::atomic<int> mixed{0}, hits{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; t++) {
    threads.emplace_back([&, t] {
      uint32_t state = 12345u + 977u * t;
      for (int i = 0; i < rounds; i++) {
        state = state * 1664525u + 1013904223u;
        uint32_t low = (state >> 24) & 63, high = ((state >> 8) & 0xFF0u) | (t + 1);
        KeyedEntry e = entry_for(high);
        if (i % 2 == 0) {
          tt.store(low, high, e.move, e.depth, e.score, e.score);
          continue;
        }
        TTHit hit;
        if (!tt.probe(low, high, hit)) continue;
        hits++;
        bool whole = hit.move == e.move && hit.lower == e.score && hit.upper == e.score &&
                     hit.lower_depth == e.depth && hit.upper_depth == e.depth;
        mixed += !whole;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mixed.load(), 0);
  EXPECT_GT(hits.load(), 0);
}

class ParallelSearch : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    globals.quiet = true;
    if (!transpositionTable.allocated()) transpositionTable.allocate(16);
    ensure_first_time_setup();
  }
  static void TearDownTestSuite() {
    set_search_threads(1);
    globals.quiet = false;
  }
  void SetUp() override {
    globals.quiet = true;
    transpositionTable.clear();
  }

  bool best_is_legal() { return is_legal_move(topBoard, searchContext.best_move); }
};

const char* const kMiddleGame = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R w KQ - 0 1";

}  // namespace

TEST_F(ParallelSearch, HelpersAnswerLegallyAndAddTheirNodes) {
  int depth = sanitized_build() ? 5 : 8;
  for (int threads : {2, 4}) {
    ASSERT_EQ(set_search_threads(threads), threads);
    std::vector<std::string> fens = test_positions();
    for (size_t n = 0; n < fens.size() && n < 10; n++) {
      SetupFEN(topBoard, fens[n].c_str());
      run_fixed_depth_search(depth);
      EXPECT_TRUE(best_is_legal() || searchContext.root_moves.count == 0)
          << threads << " threads: " << fens[n];
      EXPECT_GE(total_nodes(searchContext), searchContext.nodes) << fens[n];
    }
    SetupFEN(topBoard, kMiddleGame);
    run_fixed_depth_search(depth);
    EXPECT_GT(helper_nodes(), 0) << threads << " threads";
  }
}

TEST_F(ParallelSearch, NodeLimitCountsEveryThread) {
  ASSERT_EQ(set_search_threads(4), 4);
  SetupFEN(topBoard, kMiddleGame);
  SearchContext& sc = searchContext;
  sc.limits = SearchLimits();
  sc.limits.node_limit = 200000;
  reset_search();
  Root(&topBoard);
  sc.limits = SearchLimits();
  EXPECT_TRUE(best_is_legal());
  // The main thread alone stops well short of the limit; all together
  // pass it by at most a poll interval of every thread.
  EXPECT_LT(sc.nodes, 200000);
  EXPECT_GE(total_nodes(sc), 200000);
  EXPECT_LT(total_nodes(sc), 200000 + 4 * 20000);
}

TEST_F(ParallelSearch, OneThreadAgainIsTheOneThreadSearch) {
  int depth = sanitized_build() ? 5 : 8;
  set_search_threads(1);
  SetupFEN(topBoard, kMiddleGame);
  run_fixed_depth_search(depth);
  double nodes = searchContext.nodes;
  int move = searchContext.best_move;

  set_search_threads(3);
  transpositionTable.clear();
  run_fixed_depth_search(depth);
  EXPECT_GT(helper_nodes(), 0);

  EXPECT_EQ(set_search_threads(1), 1);
  transpositionTable.clear();
  run_fixed_depth_search(depth);
  EXPECT_EQ(searchContext.nodes, nodes);
  EXPECT_EQ(total_nodes(searchContext), nodes);
  EXPECT_EQ(searchContext.best_move, move);
}

TEST_F(ParallelSearch, ThreadCountIsClamped) {
  EXPECT_EQ(set_search_threads(0), 1);
  EXPECT_EQ(set_search_threads(-5), 1);
  EXPECT_EQ(set_search_threads(kMaxSearchThreads + 100), kMaxSearchThreads);
  EXPECT_EQ(search_threads(), kMaxSearchThreads);
  EXPECT_EQ(set_search_threads(1), 1);
}
