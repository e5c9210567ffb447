// "suite eval <file>" and "suite mgt <depth> <file>": every FEN/EPD line of a
// file through the evaluation or through a fixed-depth search, one result
// line each in "suite.txt". Reductions and history pruning are off for the
// duration, so that depth means the same thing for every position.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <strings.h>

#include "board/board.h"
#include "board/fen.h"
#include "core/output.h"
#include "search/context.h"
#include "search/eval_link.h"
#include "search/fixed_depth.h"
#include "search/params.h"
#include "tools/bench_commands.h"

namespace torvek {

namespace {

constexpr int kLineSize = 1024;

const char* skip_blanks(const char* s) {
  while (*s == ' ') s++;
  return s;
}

// The line without its end-of-line characters; false for comments and
// lines too short to be a position.
bool accept_line(char* line) {
  line[std::strcspn(line, "\r\n")] = 0;
  return line[0] != ';' && std::strlen(line) >= 10;
}

struct SavedSearchParams {
  int lmrStartDepth = searchParams.LMRStartDepth;
  int historyValue = searchParams.HistoryValue;
  ~SavedSearchParams() {
    searchParams.LMRStartDepth = lmrStartDepth;
    searchParams.HistoryValue = historyValue;
  }
};

}  // namespace

void cmd_suite(const char* args) {
  FILE* out = std::fopen("suite.txt", "w");
  bool evalMode;
  int depth = 0;
  const char* name;
  if (strncasecmp(args, "eval ", 5) == 0) {
    evalMode = true;
    name = skip_blanks(args + 5);
  } else if (strncasecmp(args, "mgt ", 4) == 0) {
    evalMode = false;
    const char* p = skip_blanks(args + 4);
    while (*p >= '0' && *p <= '9') {
      if (depth < 1000) depth = depth * 10 + (*p - '0');
      p++;
    }
    name = skip_blanks(p);
  } else {
    Print("comand should be either 'suite eval ...' or 'suite mgt ...' ");
    if (out) std::fclose(out);
    return;
  }
  FILE* in = std::fopen(name, "r");
  if (!in) {
    Print("can't find the file %s", name);
    if (out) std::fclose(out);
    return;
  }
  ensure_first_time_setup();
  searchContext.search_board = topBoard;
  SavedSearchParams saved;
  searchParams.LMRStartDepth = 999;
  searchParams.HistoryValue = 0;

  char line[kLineSize];
  int count = 0;
  int64_t totalNodes = 0, totalMs = 0;
  while (std::fgets(line, sizeof line, in)) {
    if (!accept_line(line)) continue;
    count++;
    SetupFEN(topBoard, line);
    if (evalMode) {
      if (out) std::fprintf(out, "%i\n", evalu8(topBoard, -30000, 30000));
      continue;
    }
    write_raw(":");
    run_fixed_depth_search(depth);
    write_raw("-");
    int64_t nodes = static_cast<int64_t>(searchContext.nodes);
    int64_t ms = static_cast<int64_t>(searchContext.elapsed_ms);
    if (out) std::fprintf(out, "%" PRId64 "  \t%" PRId64 "\n", nodes, ms);
    totalNodes += nodes;
    totalMs += ms;
  }
  std::fclose(in);
  if (!evalMode) {
    std::ostringstream summary;
    summary << "\nNumber of positions: " << count << "\n";
    summary << "Tot nodes: " << totalNodes
            << " Avg nodes: " << (count ? static_cast<double>(totalNodes) / count : 0.0) << "\n";
    summary << "Tot time: " << totalMs
            << " Avg time: " << (count ? static_cast<double>(totalMs) / count : 0.0) << "\n";
    write_raw(summary.str().c_str());
    if (out) std::fprintf(out, "%" PRId64 "  \t%" PRId64 "\n", totalNodes, totalMs);
  }
  if (out) std::fclose(out);
}

}  // namespace torvek
