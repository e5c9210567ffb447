// The search object, one per search thread. It owns the search's byte copy of
// the root board, so the game position is never touched by a search, perft or
// listing. The protocol handlers set the limits of the main thread's object;
// reset_search clears the statistics; Root fills the rest. A helper thread's
// object gets its root from the main one and only searches: it never polls,
// reports, probes the book or learns. Depths are in 1/64 ply inside the tree,
// whole plies for `iteration` and the limits; times are milliseconds.
#pragma once

#include <chrono>
#include <cstdint>

#include "board/board.h"
#include "board/types.h"
#include "search/limits.h"

namespace torvek {

// A principal variation: moves ended by 0. Room for one move per ply plus the
// terminator, with one spare.
constexpr int kPvSize = kMaxPly + 2;
constexpr int kNoScore = -32767;

using Clock = std::chrono::steady_clock;

struct SearchContext {
  // Set by the protocol handlers before reset_search and Root.
  SearchLimits limits;
  int engine_colour = 0;  // side to move at the root

  // Time limits from allocate_time; -1 = none.
  double q1 = -1, q2 = -1, q3 = -1, q4 = -1;

  // Statistics and tree state.
  double nodes = 0;
  int64_t poll_countdown = 10000;
  int seldepth = 0;
  int max_ply = 255;
  int move_stack[kMaxPly] = {};

  // Root state.
  Board search_board;
  Board root_board;  // the caller's position, to restore search_board from
  MoveList root_moves;
  int root_index = 0;
  int root_move = 0;
  int iteration = 0;
  int best_move = 0;
  uint16_t root_pv[kPvSize] = {};
  int best_score = kNoScore;
  int prev_score = kNoScore;
  int depth_reached = 0;
  Clock::time_point start_time = Clock::now();
  double elapsed_ms = 0;
  double nps = 0;
  double last_report_ms = 0;
  bool score_dropped = true, score_dropped_before = true, score_collapsed = true;
  bool score_jumped = false;
  bool tt_generation_opened = false;
  int book_misses = 0;
  int mate_deadline = 0;  // 0 = none
  int book_move = 0;      // the book's choice for this search, 0 = none
  int multi_pv = 1;       // root lines this search finds (MultiPV)
  double nodes_per_second_limit = 0;  // a limited strength's node rate, 0 = none
  bool helper = false;    // a helper thread's search

  // Milliseconds since start_time into elapsed_ms, and the speed from it.
  void refresh_elapsed();
};

// The main thread's search: the one the protocols fill and read.
extern SearchContext searchContext;
// The calling thread's search: searchContext on the main thread (and on any
// thread that never set it), a helper's own object on a helper thread.
extern thread_local SearchContext* threadSearch;
inline SearchContext& this_search() { return *threadSearch; }

}  // namespace torvek
