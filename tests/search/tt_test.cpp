// Transposition table: sizing, the independent keeping of bounds and move,
// the replacement order across generations, permanent slots, the mate
// adjustment and hashfull. Keys 0..3 of the low half share bucket 0.
#include <gtest/gtest.h>

#include "core/globals.h"
#include "search/tt.h"

using namespace torvek;

namespace {

class TTTest : public testing::Test {
 protected:
  void SetUp() override {
    globals.quiet = true;  // the allocation line
    ASSERT_TRUE(tt.allocate_bytes(4096));
    globals.quiet = false;
  }
  TTHit probe(uint32_t high, uint32_t low = 0) {
    TTHit hit{};
    found = tt.probe(low, high, hit);
    return hit;
  }
  TranspositionTable tt;
  bool found = false;
};

}  // namespace

TEST(TTSize, EntriesAreWholeBucketsCoveringTheBytes) {
  globals.quiet = true;
  TranspositionTable tt;
  ASSERT_TRUE(tt.allocate(16));
  EXPECT_EQ(tt.entries(), 1048576u);
  EXPECT_EQ(tt.bytes(), 16u * 1048576u);
  for (uint64_t bytes : {1ull, 17ull, 100ull, 1000ull, 65536ull + 48ull, 123457ull}) {
    ASSERT_TRUE(tt.allocate_bytes(bytes));
    EXPECT_EQ(tt.entries() % 4, 0u) << bytes;
    EXPECT_GE(tt.entries(), bytes / 16) << bytes;
    EXPECT_LT(tt.entries(), bytes / 16 + 4 + 1) << bytes;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(tt.data()) % 64, 0u) << bytes;
  }
  globals.quiet = false;
}

TEST(TTSize, ImpossibleSizeKeepsThePreviousTable) {
  globals.quiet = true;
  TranspositionTable tt;
  ASSERT_TRUE(tt.allocate_bytes(4096));
  tt.store(1, 77, 300, 4, 10, 10);
  EXPECT_FALSE(tt.allocate_bytes(1ull << 40));
  globals.quiet = false;
  EXPECT_EQ(tt.entries(), 256u);
  TTHit hit{};
  ASSERT_TRUE(tt.probe(1, 77, hit));
  EXPECT_EQ(hit.move, 300);
}

TEST(TTSize, UnallocatedTableIsSafeToUse) {
  TranspositionTable tt;
  EXPECT_FALSE(tt.allocated());
  tt.store(12345, 99, 300, 3, 5, 5);
  TTHit hit{};
  EXPECT_TRUE(tt.probe(12345, 99, hit));
}

TEST_F(TTTest, BoundsAreKeptIndependentlyByDepth) {
  tt.store(0, 7, 0, 5, 120, kNoUpperBound);  // lower bound at depth 5
  tt.store(0, 7, 0, 3, kNoLowerBound, 80);   // upper bound at depth 3
  TTHit h = probe(7);
  ASSERT_TRUE(found);
  EXPECT_EQ(h.lower, 120);
  EXPECT_EQ(h.lower_depth, 5);
  EXPECT_EQ(h.upper, 80);
  EXPECT_EQ(h.upper_depth, 3);
  tt.store(0, 7, 0, 4, 150, kNoUpperBound);  // shallower lower bound: ignored
  h = probe(7);
  EXPECT_EQ(h.lower, 120);
  EXPECT_EQ(h.lower_depth, 5);
  tt.store(0, 7, 0, 5, 130, kNoUpperBound);  // equal depth replaces
  EXPECT_EQ(probe(7).lower, 130);
}

TEST_F(TTTest, MoveOnlyStoreNeverTouchesBounds) {
  tt.store(0, 9, 0, 6, 40, 60);
  tt.store(0, 9, 1234, 2, kNoLowerBound, kNoUpperBound);
  TTHit h = probe(9);
  EXPECT_EQ(h.move, 1234);
  EXPECT_EQ(h.lower, 40);
  EXPECT_EQ(h.upper, 60);
  tt.store(0, 9, 999, 1, kNoLowerBound, kNoUpperBound);  // shallower move: kept
  EXPECT_EQ(probe(9).move, 1234);
  tt.store(0, 9, 0, 8, kNoLowerBound, kNoUpperBound);  // no move given: kept
  EXPECT_EQ(probe(9).move, 1234);
}

TEST_F(TTTest, NewSlotWithoutMoveOrBoundsIsEmptyOfThem) {
  tt.store(0, 11, 0, 4, kNoLowerBound, 50);
  TTHit h = probe(11);
  EXPECT_EQ(h.move, 0);
  EXPECT_EQ(h.lower_depth, kNoDepth);
  EXPECT_EQ(h.lower, kNoLowerBound);
  EXPECT_EQ(h.upper_depth, 4);
  EXPECT_FALSE(probe(12).move);
  EXPECT_FALSE(found);
}

TEST_F(TTTest, ReplacementTakesShallowestThenOlderGenerations) {
  // Fill bucket 0 with depths 5, 2, 7, 3 in the current generation.
  const int depths[4] = {5, 2, 7, 3};
  for (uint32_t i = 0; i < 4; i++) tt.store(i, 100 + i, 0, depths[i], 0, 0);
  tt.store(0, 200, 0, 9, 0, 0);  // replaces the depth-2 slot
  probe(101);
  EXPECT_FALSE(found);
  probe(200);
  EXPECT_TRUE(found);
  // Slots of an older generation go first, whatever their depth.
  tt.new_generation(2);
  tt.store(0, 100, 0, 1, 0, 0);  // refreshes key 100 into generation 2
  tt.store(0, 201, 0, 1, 0, 0);  // oldest & shallowest of generation 1: depth 3
  probe(103);
  EXPECT_FALSE(found);
  tt.store(0, 202, 0, 1, 0, 0);  // next of generation 1: depth 7 (key 102)
  probe(102);
  EXPECT_FALSE(found);
  tt.store(0, 203, 0, 1, 0, 0);  // next of generation 1: depth 9 (key 200)
  probe(200);
  EXPECT_FALSE(found);
  // All four now of generation 2: the shallowest, the earliest on ties.
  tt.store(0, 204, 0, 6, 0, 0);
  probe(203);
  EXPECT_FALSE(found);
  for (uint32_t key : {100u, 201u, 202u, 204u}) {
    probe(key);
    EXPECT_TRUE(found) << key;
  }
}

TEST_F(TTTest, GenerationsWrapFromFifteenToOne) {
  EXPECT_EQ(tt.generation(), 1);
  for (int i = 0; i < 14; i++) tt.new_generation(tt.generation() % 15 + 1);
  EXPECT_EQ(tt.generation(), 15);
  tt.store(1, 50, 0, 3, 0, 0);  // written in generation 15
  tt.store(2, 51, 0, 3, 0, 0);
  tt.new_generation(tt.generation() % 15 + 1);
  EXPECT_EQ(tt.generation(), 1);
  // Generation 15 is now the one before 1, so its slots go before the
  // cleared slots, which carry generation 1.
  tt.store(3, 52, 0, 1, 0, 0);
  probe(50);
  EXPECT_FALSE(found);
  tt.store(3, 53, 0, 1, 0, 0);  // (a probe of 51 first would have renewed it)
  probe(51);
  EXPECT_FALSE(found);
  probe(52);
  EXPECT_TRUE(found);
}

TEST_F(TTTest, PermanentSlotsSurviveAndLeaveOneSlotToTheSearch) {
  tt.store_learned(0, 300, 500, 10, 25);
  tt.new_generation(2);
  for (uint32_t i = 1; i <= 6; i++) tt.store(i & 3, 400 + i, 0, 1, 0, 0);
  TTHit h = probe(300);
  ASSERT_TRUE(found);
  EXPECT_EQ(h.move, 500);
  EXPECT_EQ(h.lower, 25);
  EXPECT_EQ(h.upper, 25);
  EXPECT_EQ(tt.slot(0).age, 2);  // the probe made it an ordinary slot

  // Learned positions of one bucket do not push each other out; the fourth
  // slot stays the search's, and the three deepest stay learned.
  tt.clear();
  for (uint32_t i = 0; i < 3; i++) tt.store_learned(i, 600 + i, 0, 5 + i, 0);
  tt.store_learned(0, 610, 0, 4, 0);  // shallower than all three: not kept
  tt.store_learned(0, 611, 0, 9, 0);  // deeper: takes the depth-5 slot
  tt.store(0, 700, 0, 1, 0, 0);
  int permanent = 0;
  for (int i = 0; i < 4; i++) permanent += tt.slot(i).age == 0;
  EXPECT_EQ(permanent, 3);
  for (uint32_t high : {601u, 602u, 611u, 700u}) EXPECT_TRUE(probe(high).move == 0 && found) << high;
  for (uint32_t high : {600u, 610u}) EXPECT_FALSE((probe(high), found)) << high;

  // The search's own slot of a learned position becomes permanent; the
  // shallowest of three others then turns into the oldest ordinary slot.
  tt.clear();
  for (uint32_t i = 0; i < 4; i++) tt.store(i, 800 + i, 0, 1, 0, 0);
  for (uint32_t i = 0; i < 4; i++) tt.store_learned(i, 800 + i, 0, 5 + i, 0);
  EXPECT_NE(tt.slot(0).age, 0);
  tt.store(0, 900, 0, 1, 0, 0);
  EXPECT_FALSE((probe(800), found));
  EXPECT_TRUE((probe(900), found));
}

TEST_F(TTTest, LearnedSlotKeepsDeeperPermanentKnowledge) {
  tt.store_learned(0, 310, 111, 8, 40);
  tt.store_learned(0, 310, 222, 6, -40);  // shallower: nothing changes
  EXPECT_EQ(probe(310).move, 111);
  tt.store(0, 311, 0, 2, 0, 0);
  tt.store_learned(0, 311, 333, 4, 12);  // an ordinary slot becomes permanent
  TTHit h = probe(311);
  EXPECT_EQ(h.move, 333);
  EXPECT_EQ(h.lower_depth, 4);
  EXPECT_EQ(h.upper_depth, 4);
}

TEST_F(TTTest, StoreIntoPermanentSlotKeepsItPermanentUnlessDeeper) {
  tt.store_learned(0, 320, 111, 8, 40);
  tt.store(0, 320, 0, 5, 60, kNoUpperBound);
  EXPECT_EQ(tt.slot(0).age, 0);
  tt.store(0, 320, 0, 9, 60, kNoUpperBound);
  EXPECT_EQ(tt.slot(0).age, tt.generation());
}

TEST(TTScores, MateScoresAreAdjustedBothWays) {
  const int cases[][4] = {
      // v, ply, stored, read back at ply 6
      {29990, 4, 29994, 29988},
      {-29990, 4, -29994, -29988},
      {500, 4, 500, 500},
      {29600, 3, 29600, 29600},
      {-29601, 1, -29602, -29596},
  };
  for (auto& c : cases) {
    EXPECT_EQ(score_to_table(c[0], c[1]), c[2]) << c[0];
    EXPECT_EQ(score_from_table(c[2], 6), c[3]) << c[0];
    EXPECT_EQ(score_from_table(score_to_table(c[0], c[1]), c[1]), c[0]);
  }
}

TEST_F(TTTest, HashfullCountsSlotsOfTheCurrentGeneration) {
  EXPECT_EQ(tt.hashfull(), 0.0);
  // Cleared slots belong to generation 1; a search opens generation 2 first.
  tt.new_generation(2);
  for (uint32_t i = 0; i < 64; i++) tt.store(i * 4, 1000 + i, 0, 1, 0, 0);
  EXPECT_DOUBLE_EQ(tt.hashfull(), 64.0 / 256.0 * 1000.0);
  tt.store(0, 1000, 0, 2, 0, 0);  // same slot, same generation: no change
  EXPECT_DOUBLE_EQ(tt.hashfull(), 250.0);
  tt.clear();
  EXPECT_EQ(tt.hashfull(), 0.0);
}

TEST(TTIndex, FastModuloEqualsTheRemainder) {
  globals.quiet = true;
  TranspositionTable tt;
  for (uint64_t bytes : {64ull, 4096ull, 1000000ull, 16ull << 20, 123456789ull}) {
    ASSERT_TRUE(tt.allocate_bytes(bytes));
    uint32_t keys[] = {0u, 1u, 3u, 4u, tt.entries() - 1, tt.entries(), tt.entries() + 5,
                       0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu, 0xFFFFFFFFu, 0x9E3779B9u};
    for (uint32_t k : keys) EXPECT_EQ(tt.index_of(k), k % tt.entries()) << bytes << " " << k;
    uint32_t x = 12345;
    for (int i = 0; i < 10000; i++) {
      x = x * 1664525u + 1013904223u;
      ASSERT_EQ(tt.index_of(x), x % tt.entries()) << bytes << " " << x;
    }
  }
  globals.quiet = false;
}
