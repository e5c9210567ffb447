// The engine's start-up run again in the middle of a session: it must leave
// what a fresh process has (the start position, cleared ordering tables, a
// search with the same tree), size the table only with the parameter
// defaults, and keep a bitbase loaded before the first position is set up.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include "board/board.h"
#include "board/fen.h"
#include "control/params.h"
#include "control/startup.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/fixed_depth.h"
#include "search/params.h"
#include "search/tt.h"

using namespace torvek;

namespace {

// As the tests' main starts the engine.
StartupOptions bare() {
  StartupOptions o;
  o.loadBitbase = o.parameterDefaults = o.openInputLog = false;
  return o;
}

double start_position_nodes() {
  globals.quiet = true;
  transpositionTable.allocate(1);
  run_fixed_depth_search(5);
  return searchContext.nodes;
}

class Startup : public testing::Test {
 protected:
  void TearDown() override {
    start_engine(bare());
    globals.quiet = false;
  }
};

}  // namespace

TEST_F(Startup, RestartLeavesAFreshEngine) {
  start_engine(bare());
  double fresh = start_position_nodes();
  SetupFEN(topBoard, "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 9");
  run_fixed_depth_search(6);
  // The search keeps its ordering tables on its own board; these stand for
  // whatever a session leaves in the game's.
  for (auto& h : topBoard.historyTried) h = 7;
  topBoard.killers[1][0] = 0x1234;
  start_engine(bare());

  auto start = std::make_unique<Board>();
  SetupFEN(*start, kStartFen);
  EXPECT_TRUE(topBoard.is_valid());  // lists, scores and keys against recomputation
  EXPECT_EQ(topBoard.hashKey, start->hashKey);
  EXPECT_FALSE(transpositionTable.allocated());
  EXPECT_EQ(topBoard.historyTried[100], 1);
  EXPECT_EQ(topBoard.killers[1][0], 0);
  EXPECT_EQ(start_position_nodes(), fresh);
}

TEST_F(Startup, OnlyTheParameterDefaultsSizeTheTable) {
  set_uci_option("setoption name LMRreduction value 150");
  start_engine(bare());
  EXPECT_EQ(searchParams.LMRreduction, 96);
  StartupOptions options = bare();
  options.parameterDefaults = true;
  start_engine(options);
  EXPECT_EQ(searchParams.LMRreduction, 64);
  EXPECT_EQ(transpositionTable.bytes(), uint64_t{64} << 20);
}

TEST_F(Startup, BitbaseSurvivesTheFirstPosition) {
  FILE* f = std::fopen("KPK.dat", "wb");
  ASSERT_NE(f, nullptr);
  for (uint32_t i = 0; i < kKpkWords; i++)
    for (int shift = 0; shift < 32; shift += 8) std::fputc((i * 2654435761u) >> shift & 0xFF, f);
  std::fclose(f);
  StartupOptions options = bare();
  options.loadBitbase = true;
  start_engine(options);
  std::remove("KPK.dat");
  for (uint32_t i = 0; i < kKpkWords; i++) ASSERT_EQ(topBoard.kpkTable[i], i * 2654435761u) << i;
}
