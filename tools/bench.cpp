// The fixed search set behind the bench signature and the test1 benchmark.
#include "tools/bench.h"

#include "board/board.h"
#include "board/fen.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/fixed_depth.h"
#include "search/tt.h"

namespace torvek {

const char* const kBenchPositions[10] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r1b2rk1/ppppqppp/1b3n2/1B2p1Q1/4P3/2PPB3/PP3PPP/RN3RK1 b - -",
    "2kr3r/p1qnbp2/1pn1p3/3pP1p1/2pP4/P1P2N2/1P1NQPPP/R1B2RK1 w - -",
    "r2r2k1/p2bqpbp/2p1n1p1/Pp2p3/4P3/1NP1B3/1PQ1BPPP/R2R2K1 w - -",
    "4b1k1/1q4p1/p1r1pp1p/P1Pp4/8/Q2BP2P/5PP1/2R3K1 w - -",
    "rnb1kb1r/1p3ppp/p5q1/4p3/3N4/4BB2/PPPQ1P1P/R3K2R w KQkq -",
    "r2q1rk1/2p1bppp/p2p1n2/2p1p3/4P3/3P1N2/PPP1QPPP/R1B2RK1 w - -",
    "3r1k2/3r1pb1/1ppp1qpp/p1n5/2P2N2/1P2PPR1/P2R1P1P/1B1Q3K b - -",
    "r4rk1/3q2pp/p2bp3/1b1p1p1n/1p1PP3/6PP/PP1B1PBK/1NRQ2R1 b - -",
    "3r4/pp1rk1pp/n3pp2/8/2RN1P2/4P3/PP2K1PP/2R5 w - -",
};

BenchResult run_bench(int depth) {
  constexpr uint64_t bytes = static_cast<uint64_t>(kSignatureHashMegabytes) << 20;
  bool wasQuiet = globals.quiet;
  globals.quiet = true;
  if (transpositionTable.bytes() != bytes) transpositionTable.allocate_bytes(bytes);
  ensure_first_time_setup();
  globals.quiet = true;
  BenchResult result{};
  for (int i = 0; i < 10; i++) {
    transpositionTable.clear();
    SetupFEN(topBoard, kBenchPositions[i]);
    run_fixed_depth_search(depth);
    result.nodes[i] = static_cast<int64_t>(searchContext.nodes);
    result.total += result.nodes[i];
    result.ms += searchContext.elapsed_ms;
  }
  globals.quiet = wasQuiet;
  return result;
}

}  // namespace torvek
