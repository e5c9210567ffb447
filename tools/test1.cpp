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
#include "tools/bench.h"
#include "tools/bench_commands.h"

namespace torvek {

namespace {

constexpr int kBenchDepth = 11;

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
