// Time allocation from the clocks, the stop rules and the poll interval.
#include "search/timeman.h"

#include <algorithm>
#include <sstream>
#include <string>

#include "core/globals.h"
#include "core/output.h"
#include "search/context.h"
#include "search/hooks.h"
#include "search/params.h"
#include "search/report.h"
#include "search/strength.h"
#include "search/threads.h"

namespace torvek {

SearchHooks searchHooks;

namespace {

// Seconds as the stream prints doubles, for the debug lines.
std::string seconds(double ms) {
  std::ostringstream out;
  out << ms * 0.001;
  return out.str();
}

void print_allocation(const SearchContext& sc, unsigned time, unsigned inc, double alloc) {
  std::ostringstream line;
  line << " info string mtogo=" << sc.limits.moves_to_go << " mtim=" << sc.limits.move_time * 0.001
       << " time=" << time * 0.001 << " inc=" << inc * 0.001 << " alloc=" << alloc * 0.001
       << (searchParams.Ponder ? " ponder " : " nopond ");
  write_line(line.str().c_str());
  std::string limits = " info string Q1-Q4 " + seconds(sc.q1) + " " + seconds(sc.q2) + " " +
                       seconds(sc.q3) + " " + seconds(sc.q4);
  write_line(limits.c_str());
  write_line((" info string MyColr " + std::to_string(sc.engine_colour)).c_str());
}

}  // namespace

void allocate_time(bool quiet) {
  SearchContext& sc = searchContext;
  SearchLimits& limits = sc.limits;
  unsigned time = sc.engine_colour == 0 ? limits.wtime : limits.btime;
  unsigned inc = sc.engine_colour == 0 ? limits.winc : limits.binc;
  if (limits.moves_to_go == 0 || limits.moves_to_go > 30)
    limits.moves_to_go = searchParams.Ponder ? 26 : 30;
  sc.q1 = sc.q2 = sc.q3 = sc.q4 = -1;
  double alloc = 0;
  if (!limits.infinite) {
    if (limits.move_time > 0) {
      sc.q4 = limits.move_time;
    } else if (time > 0) {
      alloc = static_cast<double>(time) / limits.moves_to_go + inc;
      double hard = std::max(0.0, std::min(4 * alloc, static_cast<double>(time)));
      if (time < 20000 && inc == 0) alloc *= 0.5;
      double reserve = searchParams.MoveOverhead;
      double cap = std::min(0.9 * hard, std::max(0.0, time - reserve));
      sc.q1 = std::min(alloc * 0.5, cap);
      sc.q2 = std::min(alloc, cap);
      sc.q3 = std::min(2 * alloc, cap);
      sc.q4 = std::min(4 * alloc, cap);
    }
  }
  if (!quiet && globals.debug) print_allocation(sc, time, inc, alloc);
  if (limits.mate_limit > 0 && limits.depth_limit < 2 * static_cast<int>(limits.mate_limit))
    limits.depth_limit = 2 * static_cast<int>(limits.mate_limit);
}

void check_limits() {
  SearchContext& sc = searchContext;
  const SearchLimits& limits = sc.limits;
  if (limits.infinite || limits.ponder || globals.stopSearch) return;
  bool stop = false;
  if (limits.node_limit > 0 && total_nodes(sc) >= static_cast<double>(limits.node_limit)) {
    stop = true;
    DebugPrint("Break due to nodes limit");
  }
  if (sc.iteration > limits.depth_limit) {
    stop = true;
    DebugPrint("Break due to max-depth limit");
  }
  // The soft limits only stop the search on the first root move, so an
  // alternative to the best move is never cut off halfway.
  double e = sc.elapsed_ms + 50;
  bool firstMove = sc.root_index == 0;
  bool calm = !sc.score_collapsed && !sc.score_dropped && !sc.score_dropped_before;
  std::string reason;
  if (sc.q4 >= 0 && e >= sc.q4) stop = true, reason += "Q4 ";
  if (!stop && sc.q3 >= 0 && e >= sc.q3 && firstMove) stop = true, reason += "Q3 ";
  if (!stop && sc.q2 >= 0 && e >= sc.q2 && firstMove && calm) stop = true, reason += "Q2 ";
  if (!stop && sc.q1 >= 0 && e >= sc.q1 && firstMove && sc.score_jumped && calm)
    stop = true, reason += "Q1 ";
  if (!stop) return;
  globals.stopSearch = true;
  Print(" info string %s break", reason.c_str());
}

void set_poll_interval() {
  SearchContext& sc = searchContext;
  unsigned moveTime = sc.limits.move_time;
  sc.poll_countdown = static_cast<int64_t>(sc.nps / 50);
  if ((moveTime > 0 && moveTime - sc.elapsed_ms <= 5000) ||
      (moveTime == 0 && sc.q4 >= 0 && sc.q4 - sc.elapsed_ms <= 5000))
    sc.poll_countdown = static_cast<int64_t>(sc.nps * 0.01);
  if (sc.poll_countdown == 0) sc.poll_countdown = 100;
}

void ponder_hit() {
  SearchContext& sc = searchContext;
  sc.limits.ponder = false;
  sc.poll_countdown = 0;
  allocate_time(true);
  sc.refresh_elapsed();
  if (sc.q4 < 0) return;
  for (double* q : {&sc.q4, &sc.q3, &sc.q2, &sc.q1}) {
    if (*q < sc.elapsed_ms) {
      *q = sc.elapsed_ms;
      break;
    }
  }
}

// The polling point: pending input belongs to the command layer, whose hook
// also runs the periodic report (which sets the next interval) and
// check_limits in the order it needs; without a hook the search does both.
void search_poll() {
  SearchContext& sc = this_search();
  if (sc.helper) {
    helper_poll(sc);
    return;
  }
  sc.refresh_elapsed();
  if (searchHooks.poll) {
    searchHooks.poll();
  } else {
    report_periodic();
    check_limits();
  }
  if (sc.nodes_per_second_limit > 0) throttle(sc);
}

}  // namespace torvek
