// benchsig: searches the bench positions to the signature depth (or the
// depth given) and prints the nodes of each, the total and the speed. At
// the signature depth it compares the total with the recorded signature
// and exits with 1 when they differ.
//
// Usage: benchsig [depth]   (run in build/, where KPK.dat is)
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "control/startup.h"
#include "core/globals.h"
#include "tools/bench.h"

using namespace torvek;

int main(int argc, char** argv) {
  int depth = argc > 1 ? std::atoi(argv[1]) : kSignatureDepth;
  if (depth < 1 || depth > 30) {
    std::fprintf(stderr, "usage: benchsig [depth 1..30]\n");
    return 2;
  }
  globals.quiet = true;  // no bitbase message
  StartupOptions options;
  options.parameterDefaults = false;  // run_bench sizes the table itself
  options.openInputLog = false;
  start_engine(options);
  BenchResult r = run_bench(depth);
  for (int i = 0; i < 10; i++)
    std::printf("%2d: %10" PRId64 " nodes  %s\n", i + 1, r.nodes[i], kBenchPositions[i]);
  double knps = r.ms > 0 ? static_cast<double>(r.total) / r.ms : 0;
  std::printf("depth %d  total %" PRId64 " nodes  %.2f s  %.0f Knps\n", depth, r.total, r.ms / 1000,
              knps);
  if (depth != kSignatureDepth) return 0;
  bool same = r.total == kBenchSignature;
  std::printf("signature %" PRId64 " %s\n", kBenchSignature, same ? "ok" : "DIFFERS");
  return same ? 0 : 1;
}
