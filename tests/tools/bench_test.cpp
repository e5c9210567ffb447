// The bench signature: the search's total over the bench set must equal the
// recorded number. When a change alters the tree on purpose, record the new
// total in tools/bench.h in the same commit and say why.
#include <gtest/gtest.h>

#include "search/tt.h"
#include "tools/bench.h"

using namespace torvek;

TEST(BenchTest, NodeTotalIsTheRecordedSignature) {
  BenchResult r = run_bench();
  EXPECT_EQ(r.total, kBenchSignature);
  EXPECT_EQ(transpositionTable.bytes(), static_cast<uint64_t>(kSignatureHashMegabytes) << 20);
}

TEST(BenchTest, ASecondRunGivesTheSameTotal) {
  // Nothing a search leaves behind (table, history, killers) reaches the next.
  BenchResult first = run_bench(3), second = run_bench(3);
  for (int i = 0; i < 10; i++) EXPECT_EQ(first.nodes[i], second.nodes[i]) << "position " << i + 1;
  EXPECT_GT(first.total, 0);
}
