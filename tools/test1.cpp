// "test1": the benchmark. Ten fixed positions searched to depth 11; nodes,
// seconds and speed per position and in total go to the console and are
// appended to "test1.txt". The total node count is the search's fingerprint.
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <string>
#include <strings.h>

#include "board/board.h"
#include "board/fen.h"
#include "core/globals.h"
#include "core/output.h"
#include "search/context.h"
#include "search/fixed_depth.h"
#include "tools/bench_commands.h"

namespace torvek {

namespace {

constexpr int kBenchDepth = 11;

const char* const kBenchPositions[] = {
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

// Writes the same text to the log file and directly to the console: the
// benchmark runs with quiet on, so Print would swallow it.
void both(FILE* file, const char* text) {
  if (file) std::fputs(text, file);
  write_raw(text);
}

std::string result_line(const char* label, int64_t nodes, double ms) {
  char line[128];
  long knps = ms > 0 ? static_cast<long>(static_cast<double>(nodes) / ms) : 0;
  std::snprintf(line, sizeof line, "%2s: %7" PRId64 " Knodes \t%4.1f s \t%ld Knps\n", label,
                nodes / 1000, ms * 0.001, knps);
  return line;
}

}  // namespace

void cmd_test1(const char* args) {
  // The bare row hands over its whole line; only "test1 x" carries a label.
  const char* label = args && strcasecmp(args, "test1") != 0 ? args : "";
  FILE* file = std::fopen("test1.txt", "a");
  bool wasQuiet = globals.quiet;
  if (!wasQuiet) {
    globals.quiet = true;
    write_line("info string quiet now");
  }
  char date[128];
  std::time_t now = std::time(nullptr);
  std::strftime(date, sizeof date, "%A, %B %d, %Y %H:%M:%S\n", std::localtime(&now));
  both(file, date);
  if (file) std::fprintf(file, "%s\n", label);

  ensure_first_time_setup();
  int64_t totalNodes = 0;
  double totalMs = 0;
  int number = 0;
  for (const char* fen : kBenchPositions) {
    number++;
    if (fen[0] == ';' || std::char_traits<char>::length(fen) < 10) continue;
    SetupFEN(topBoard, fen);
    run_fixed_depth_search(kBenchDepth);
    double ms = searchContext.elapsed_ms;
    int64_t nodes = static_cast<int64_t>(searchContext.nodes);
    both(file, result_line(std::to_string(number).c_str(), nodes, ms).c_str());
    totalNodes += nodes;
    totalMs += ms;
  }
  const char* rule = "------------------------------------------\n";
  both(file, rule);
  both(file, result_line("", totalNodes, totalMs).c_str());
  if (file) {
    std::fputs("\n", file);
    std::fclose(file);
  }
  if (!wasQuiet) {
    globals.quiet = false;
    write_line("info string not quiet anymore");
  }
}

}  // namespace torvek
