// The bench signature: a fixed set of positions searched to a fixed depth,
// each from an empty table, whose total node count identifies the search.
// A change that alters the tree by accident changes the total and fails
// the test; a change that alters it on purpose records the new total here,
// in the same commit, with the reason.
#pragma once

#include <cstdint>

namespace torvek {

// The positions of the "test1" benchmark, searched by both it and the bench.
extern const char* const kBenchPositions[10];

constexpr int kSignatureDepth = 8;
constexpr int kSignatureHashMegabytes = 16;
constexpr int64_t kBenchSignature = 2387661;

struct BenchResult {
  int64_t nodes[10];
  int64_t total;
  double ms;
};

// Searches every bench position to `depth` from a cleared table of
// kSignatureHashMegabytes (allocated when the table has another size); the
// root position and the table are left as the last search left them.
BenchResult run_bench(int depth = kSignatureDepth);

}  // namespace torvek
