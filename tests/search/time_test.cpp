// Time management as a table of clock situations, the stop rules at a poll
// with the elapsed time set by hand (no sleeping), the poll interval and the
// ponder hit.
#include <gtest/gtest.h>

#include "core/globals.h"
#include "search/context.h"
#include "search/params.h"
#include "search/timeman.h"

using namespace torvek;

namespace {

class TimeTest : public testing::Test {
 protected:
  void SetUp() override {
    saved = searchParams;
    SearchContext& sc = searchContext;
    sc.limits = SearchLimits();
    sc.engine_colour = 0;
    sc.iteration = 1;
    sc.root_index = 0;
    sc.nodes = 0;
    sc.elapsed_ms = 0;
    sc.score_jumped = false;
    sc.score_dropped = sc.score_dropped_before = sc.score_collapsed = false;
    globals.stopSearch = false;
    globals.quiet = true;  // the " info string ... break" lines
  }
  void TearDown() override {
    searchParams = saved;
    globals.stopSearch = false;
    globals.quiet = false;
  }
  bool stops_at(double elapsed) {
    globals.stopSearch = false;
    searchContext.elapsed_ms = elapsed;
    check_limits();
    return globals.stopSearch;
  }
  SearchParams saved;
};

}  // namespace

TEST_F(TimeTest, AllocationFromTheClock) {
  struct Case {
    unsigned time, inc, togo, movetime;
    bool ponder;
    double q1, q2, q3, q4;
  };
  const Case cases[] = {
      {60000, 0, 0, 0, false, 1000, 2000, 4000, 7200},
      // Under 20 s without increment the allotment is halved; the cap comes
      // from the unhalved one: min(4 x 333.3, 10000) x 0.9 = 1200.
      {10000, 0, 0, 0, false, 10000.0 / 30 / 4, 10000.0 / 30 / 2, 10000.0 / 30,
       10000.0 / 30 * 2},
      // 40 moves to go count as 30.
      {60000, 0, 40, 0, false, 1000, 2000, 4000, 7200},
      // Pondering assumes 26 moves.
      {52000, 0, 0, 0, true, 1000, 2000, 4000, 7200},
      // An increment is added and no halving happens.
      {15000, 500, 0, 0, false, 500, 1000, 2000, 3600},
      {10000, 0, 5, 0, false, 500, 1000, 2000, 4000},
      {0, 0, 0, 5000, false, -1, -1, -1, 5000},
      {0, 0, 0, 0, false, -1, -1, -1, -1},
  };
  for (const Case& c : cases) {
    SearchContext& sc = searchContext;
    sc.limits.wtime = c.time;
    sc.limits.winc = c.inc;
    sc.limits.btime = 1;  // the engine plays white: black's clock is ignored
    sc.limits.moves_to_go = c.togo;
    sc.limits.move_time = c.movetime;
    searchParams.Ponder = c.ponder;
    allocate_time(true);
    EXPECT_NEAR(sc.q1, c.q1, 1e-6) << c.time << " " << c.togo;
    EXPECT_NEAR(sc.q2, c.q2, 1e-6) << c.time << " " << c.togo;
    EXPECT_NEAR(sc.q3, c.q3, 1e-6) << c.time << " " << c.togo;
    EXPECT_NEAR(sc.q4, c.q4, 1e-6) << c.time << " " << c.togo;
  }
  EXPECT_NEAR(searchContext.q4, -1, 0);
  searchContext.limits.wtime = 10000;
  searchContext.limits.moves_to_go = 0;
  allocate_time(true);
  EXPECT_NEAR(searchContext.q4, 666.7, 0.05);
}

TEST_F(TimeTest, LowClockKeepsAReserveWhateverTheIncrement) {
  SearchContext& sc = searchContext;
  searchParams.Ponder = false;
  sc.limits.winc = 1000;
  sc.limits.wtime = 300;  // every limit would be 90 % of the clock: 270
  allocate_time(true);
  EXPECT_DOUBLE_EQ(sc.q1, 200);
  EXPECT_DOUBLE_EQ(sc.q4, 200);
  sc.limits.wtime = 60;  // less than the reserve: move at the first poll
  allocate_time(true);
  EXPECT_DOUBLE_EQ(sc.q4, 0);
  EXPECT_TRUE(stops_at(0));
  // A fast Fischer clock keeps its limits: 1000 / 30 + 10 = 43.3 ms.
  sc.limits.winc = 10;
  sc.limits.wtime = 1000;
  allocate_time(true);
  EXPECT_NEAR(sc.q2, 43.333, 0.001);
  EXPECT_NEAR(sc.q4, 156, 0.001);  // 0.9 x 4 x 43.3
  // A larger move overhead keeps more back: 300 - 250.
  searchParams.MoveOverhead = 250;
  sc.limits.winc = 1000;
  sc.limits.wtime = 300;
  allocate_time(true);
  EXPECT_DOUBLE_EQ(sc.q4, 50);
  searchParams.MoveOverhead = 0;
  allocate_time(true);
  EXPECT_DOUBLE_EQ(sc.q4, 270);
}

TEST_F(TimeTest, BlackUsesItsOwnClockAndInfiniteHasNoLimit) {
  SearchContext& sc = searchContext;
  searchParams.Ponder = false;
  sc.engine_colour = 1;
  sc.limits.wtime = 1000;
  sc.limits.btime = 60000;
  allocate_time(true);
  EXPECT_DOUBLE_EQ(sc.q2, 2000);
  sc.limits.infinite = true;
  allocate_time(true);
  EXPECT_EQ(sc.q4, -1);
}

TEST_F(TimeTest, MateSearchRaisesTheDepthLimit) {
  searchContext.limits.mate_limit = 3;
  searchContext.limits.depth_limit = 4;
  allocate_time(true);
  EXPECT_EQ(searchContext.limits.depth_limit, 6);
  searchContext.limits.depth_limit = 9;
  allocate_time(true);
  EXPECT_EQ(searchContext.limits.depth_limit, 9);
}

TEST_F(TimeTest, MoveTimeStopsFiftyMillisecondsEarly) {
  searchContext.limits.move_time = 5000;
  allocate_time(true);
  EXPECT_FALSE(stops_at(4949));
  EXPECT_TRUE(stops_at(4950));
}

TEST_F(TimeTest, SoftLimitsOnlyOnTheFirstRootMoveAndWithoutDrops) {
  SearchContext& sc = searchContext;
  sc.q1 = 1000, sc.q2 = 2000, sc.q3 = 4000, sc.q4 = 7200;
  struct Case {
    double elapsed;
    int rootIndex;
    bool jumped, dropped, droppedBefore, collapsed;
    bool stops;
  };
  const Case cases[] = {
      {900, 0, true, false, false, false, false},   // below every limit
      {960, 0, true, false, false, false, true},    // Q1 with the margin
      {960, 0, false, false, false, false, false},  // Q1 needs a jump
      {1960, 0, false, false, false, false, true},  // Q2
      {1960, 0, false, true, false, false, false},  // a drop disables Q2
      {1960, 0, false, false, true, false, false},  // also in the iteration before
      {1960, 1, false, false, false, false, false}, // not on an alternative move
      {3960, 0, false, true, true, true, true},     // Q3 whatever the score
      {3960, 2, false, false, false, false, false}, // but only on the first move
      {7150, 5, false, true, true, true, true},     // Q4 anywhere
  };
  for (const Case& c : cases) {
    sc.root_index = c.rootIndex;
    sc.score_jumped = c.jumped;
    sc.score_dropped = c.dropped;
    sc.score_dropped_before = c.droppedBefore;
    sc.score_collapsed = c.collapsed;
    EXPECT_EQ(stops_at(c.elapsed), c.stops) << c.elapsed << " " << c.rootIndex;
  }
}

TEST_F(TimeTest, NodeAndDepthLimitsAndTheirExemptions) {
  SearchContext& sc = searchContext;
  sc.limits.node_limit = 1000;
  sc.nodes = 999;
  EXPECT_FALSE(stops_at(0));
  sc.nodes = 1000;
  EXPECT_TRUE(stops_at(0));
  sc.limits.ponder = true;
  EXPECT_FALSE(stops_at(0));
  sc.limits.ponder = false;
  sc.limits.infinite = true;
  EXPECT_FALSE(stops_at(0));
  sc.limits.infinite = false;
  sc.limits.node_limit = 0;
  sc.limits.depth_limit = 3;
  sc.iteration = 3;
  EXPECT_FALSE(stops_at(0));
  sc.iteration = 4;
  EXPECT_TRUE(stops_at(0));
}

TEST_F(TimeTest, PollIntervalFollowsTheSpeed) {
  SearchContext& sc = searchContext;
  struct Case {
    double nps, elapsed, q4;
    unsigned movetime;
    int64_t countdown;
  };
  const Case cases[] = {
      {1000000, 1000, -1, 0, 20000},
      {1000000, 1000, 5000, 0, 10000},   // near the hard limit: 100 polls a second
      {1000000, 1000, 7000, 0, 20000},
      {1000000, 1000, 7000, 5000, 10000},  // a fixed move time decides
      {1000000, 1000, 5000, 7000, 20000},
      {0, 100, -1, 0, 100},  // no speed measured yet
  };
  for (const Case& c : cases) {
    sc.nps = c.nps;
    sc.elapsed_ms = c.elapsed;
    sc.q4 = c.q4;
    sc.limits.move_time = c.movetime;
    set_poll_interval();
    EXPECT_EQ(sc.poll_countdown, c.countdown) << c.q4 << " " << c.movetime;
  }
}

TEST_F(TimeTest, PonderHitCountsThePonderTime) {
  SearchContext& sc = searchContext;
  searchParams.Ponder = false;
  sc.limits.wtime = 60000;
  sc.limits.ponder = true;
  // Pondered for 3 s: Q1 and Q2 would lie in the past; only the first of
  // Q4, Q3, Q2, Q1 already passed is moved to now.
  sc.start_time = Clock::now() - std::chrono::milliseconds(3000);
  ponder_hit();
  EXPECT_FALSE(sc.limits.ponder);
  EXPECT_EQ(sc.poll_countdown, 0);
  EXPECT_DOUBLE_EQ(sc.q4, 7200);
  EXPECT_DOUBLE_EQ(sc.q3, 4000);
  EXPECT_NEAR(sc.q2, 3000, 100);
  EXPECT_DOUBLE_EQ(sc.q1, 1000);
}
