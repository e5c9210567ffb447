// Fixed-depth search without clocks, for the benchmark and the suites.
#include "search/fixed_depth.h"

#include "board/board.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/root.h"
#include "search/timeman.h"

namespace torvek {

void ensure_first_time_setup() {
  if (globals.firstTime) prepare_search(topBoard);
}

int run_fixed_depth_search(int depth) {
  SearchContext& sc = searchContext;
  sc.limits = SearchLimits();
  reset_search();
  sc.search_board = topBoard;
  sc.engine_colour = topBoard.side;
  allocate_time(false);
  sc.limits.depth_limit = depth;
  return Root(&topBoard);
}

}  // namespace torvek
