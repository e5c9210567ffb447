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
  sc.wtime = sc.btime = sc.winc = sc.binc = 0;
  sc.moves_to_go = 0;
  sc.move_time = 0;
  sc.node_limit = 0;
  sc.mate_limit = 0;
  sc.ponder = false;
  sc.infinite = false;
  sc.depth_limit = 9999;
  reset_search();
  sc.search_board = topBoard;
  sc.engine_colour = topBoard.side;
  allocate_time(false);
  sc.depth_limit = depth;
  return Root(&topBoard);
}

}  // namespace torvek
