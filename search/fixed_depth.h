// One search of the root position to a fixed depth, as "go depth N" would
// run it without clocks: the common step of the benchmark and the suites.
#pragma once

namespace torvek {

// Clears every limit, resets the search state and searches topBoard to
// `depth` plies; the statistics stay in searchContext.
int run_fixed_depth_search(int depth);
// The evaluation's first-time set-up, if no search has run yet.
void ensure_first_time_setup();

}  // namespace torvek
