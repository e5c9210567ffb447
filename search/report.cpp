// Search reporting for both programs while the search runs; the final
// answer is the protocols' (protocol/*_result.cpp). Lines go through Print,
// which in the WinBoard program drops every line that starts with "info", so
// the UCI lines may be written unconditionally where both programs share a
// step.
#include "search/report.h"

#include "board/movetext.h"
#include "core/globals.h"
#include "core/output.h"
#include "search/context.h"
#include "search/lines.h"
#include "search/threads.h"
#include "search/timeman.h"
#include "search/tt.h"

namespace torvek {

namespace {

constexpr int kMaxPvText = 512;
constexpr double kPeriodicReportMs = 2000;

}  // namespace

int mate_distance(int v) {
  if (v < -29600) {
    int half = (v + 30000) / 2;
    return half == 0 ? -1 : -half;
  }
  if (v > 29600) return (30001 - v) / 2;
  return 0;
}

std::string move_text(int move) {
  if (move == MoveNone) return "0000";
  char buffer[16];
  if (!move_to_text(move, buffer, sizeof buffer)) return "0000";
  return buffer;
}

std::string pv_text(const uint16_t* pv) {
  std::string text;
  char buffer[16];
  for (int i = 0; i < kPvSize && pv[i]; i++) {
    if (!move_to_text(pv[i], buffer, sizeof buffer)) break;
    size_t extra = std::char_traits<char>::length(buffer) + (text.empty() ? 0 : 1);
    if (text.size() + extra > kMaxPvText) break;
    if (!text.empty()) text += ' ';
    text += buffer;
  }
  return text;
}

void report_new_best(int iteration, int v) {
  SearchContext& sc = this_search();
  if (sc.helper) return;
  sc.refresh_elapsed();
  double nodes = total_nodes(sc);
  std::string pv = pv_text(sc.root_pv);
  int mate = mate_distance(v);
  if (sc.multi_pv > 1) {
    // Several lines are written together when the iteration completes.
  } else if (!kWinBoard) {
    if (mate != 0)
      Print("info depth %d score mate %d nodes %.0f time %.0f pv %s", iteration, mate, nodes,
            sc.elapsed_ms, pv.c_str());
    else if (iteration >= 9)
      Print("info depth %d score cp %d nodes %.0f time %.0f pv %s", iteration, v, nodes,
            sc.elapsed_ms, pv.c_str());
  } else if (mate == 0 && iteration > 8) {
    if (iteration == 15 && !sc.limits.ponder)
      TellIcs(iteration, v, sc.elapsed_ms, nodes, pv.c_str());
    else
      print_thinking_line(iteration, v, sc.elapsed_ms, nodes, pv.c_str());
  }
  if (iteration <= 1) return;
  int p = sc.prev_score;
  sc.score_jumped = v > p + 325;
  if (v <= p - 140) {
    sc.score_dropped = sc.score_collapsed = true;
  } else {
    sc.score_collapsed = false;
    sc.score_dropped = v <= p - 70;
  }
}

void report_currmove() {
  SearchContext& sc = this_search();
  if (sc.helper) return;
  sc.refresh_elapsed();
  if (sc.elapsed_ms < 1000) return;
  Print("info currmove %s currmovenumber %d", move_text(sc.root_move).c_str(), sc.root_index + 1);
}

void report_periodic() {
  SearchContext& sc = searchContext;
  if (sc.elapsed_ms - sc.last_report_ms >= kPeriodicReportMs) {
    Print("info hashfull %.0f", transpositionTable.hashfull());
    if (!kWinBoard)
      Print("info time %.0f nodes %.0f nps %.0f ", sc.elapsed_ms, total_nodes(sc), total_nps(sc));
    sc.last_report_ms = sc.elapsed_ms;
  }
  set_poll_interval();
}

void report_root_lines(const RootLines& set) {
  SearchContext& sc = searchContext;
  double nodes = total_nodes(sc);
  for (int k = 0; k < set.count; k++) {
    const RootLine& line = set.lines[k];
    std::string pv = pv_text(line.pv);
    if (kWinBoard) {
      print_thinking_line(sc.iteration, line.score, sc.elapsed_ms, nodes, pv.c_str());
      continue;
    }
    int mate = mate_distance(line.score);
    Print("info depth %d seldepth %d multipv %d score %s %d nodes %.0f nps %.0f time %.0f pv %s",
          sc.iteration, sc.seldepth, k + 1, mate ? "mate" : "cp", mate ? mate : line.score, nodes,
          total_nps(sc), sc.elapsed_ms, pv.c_str());
  }
}

void report_iteration() {
  const SearchContext& sc = searchContext;
  if (kWinBoard || sc.iteration <= 0) return;
  Print("info depth %d nodes %.0f time %.0f nps %.0f", sc.iteration, total_nodes(sc),
        sc.elapsed_ms, total_nps(sc));
}

}  // namespace torvek
