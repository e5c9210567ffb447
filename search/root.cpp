// Root: preparation, the iteration loop with its breaks, and the abort path.
// Iteration 1 first scores every root move by a quiescence search, so that
// the first real iteration starts from a sensible order, and keeps the
// window open so that every root move gets an exact score.
#include "search/root.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "board/attack.h"
#include "board/board.h"
#include "board/make.h"
#include "board/movegen.h"
#include "book/probe.h"
#include "core/globals.h"
#include "core/guards.h"
#include "core/output.h"
#include "search/context.h"
#include "search/eval_link.h"
#include "search/hooks.h"
#include "search/learn.h"
#include "search/lines.h"
#include "search/move_check.h"
#include "search/ordering.h"
#include "search/params.h"
#include "search/pv.h"
#include "search/report.h"
#include "search/search.h"
#include "search/strength.h"
#include "search/timeman.h"
#include "search/threads.h"
#include "search/tt.h"

namespace torvek {

namespace {

constexpr int kMaxIterations = 60;
constexpr int kFirstIterationPly = 7;
constexpr int kOrderingPassPly = 2;

// The search board back to the caller's position. The ordering tables are
// kept: they are the search's experience, renewed only per Root call.
void restore_root_position(SearchContext& sc) {
  uint16_t tried[768], good[768], scaled[768], killers[kMaxPly][2];
  Board& b = sc.search_board;
  std::memcpy(tried, b.historyTried, sizeof tried);
  std::memcpy(good, b.historyGood, sizeof good);
  std::memcpy(scaled, b.historyScaled, sizeof scaled);
  std::memcpy(killers, b.killers, sizeof killers);
  b = sc.root_board;
  std::memcpy(b.historyTried, tried, sizeof tried);
  std::memcpy(b.historyGood, good, sizeof good);
  std::memcpy(b.historyScaled, scaled, sizeof scaled);
  std::memcpy(b.killers, killers, sizeof killers);
}

// A draw reached by a root move, valued for the side that moves at the root.
int root_draw_score(Board& b, int rootSide) {
  return ((256 - material_phase(b)) * draw_opening[rootSide]) / 256;
}

bool pawn_to_seventh(const Board& b, int move) {
  int from = square64ToBoard[move_from(move)];
  int to = square64ToBoard[move_to(move)];
  return is_pawn_code(b.squares[from]) && (row_of(to) ^ kRankFlipBySide[b.side]) == 10;
}

// Fixed order first (by squares and promotion piece), then by the ordering
// score with the table move of the root position in front.
void order_root_moves(SearchContext& sc, Board& b) {
  MoveList& list = sc.root_moves;
  for (int i = 0; i < list.count; i++) {
    int m = list.moves[i];
    int key = move_from(m) * 256 + move_to(m) * 4 + move_promo_bits(m);
    list.values[i] = static_cast<uint16_t>(-key);
  }
  sort(list);
  int hashMove = 0;
  TTHit hit;
  if (transpositionTable.probe(key_low(b.hashKey), key_high(b.hashKey), hit) &&
      is_move_playable(b, hit.move))
    hashMove = hit.move;
  for (int i = 0; i < list.count; i++)
    list.values[i] = static_cast<uint16_t>(list_score(b, list.moves[i], 0, hashMove));
  sort(list);
}

void quiescence_ordering_pass(SearchContext& sc, Board& b) {
  uint16_t pv[kPvSize];
  MoveList& list = sc.root_moves;
  for (int i = 0; i < list.count; i++) {
    int m = list.moves[i];
    UndoInfo undo;
    make_move(b, m, undo);
    int score;
    if (is_draw(b, true)) {
      score = root_draw_score(b, sc.engine_colour);
    } else {
      sc.max_ply = kOrderingPassPly;
      score = -Search(b, -30000, 30000, 0, 1, pv, 0);
      sc.max_ply = 255;
    }
    unmake_move(b, m, undo);
    list.values[i] = static_cast<uint16_t>(score);
  }
  sort(list);
}

// One iteration over the root moves from index `first` on (the moves before
// it are the lines a MultiPV search has already found in this iteration);
// returns the best score and the score of the last move searched. Only the
// first line is the search's own best move, variation and report.
int search_iteration(SearchContext& sc, Board& b, bool rootInCheck, int& lastScore, int first = 0) {
  const int it = sc.iteration;
  int alpha = -30000, beta = 30000;
  const int alphaStart = alpha;
  int best = kNoScore;
  uint16_t pv[kPvSize];
  MoveList& list = sc.root_moves;
  if (it == 1 && first == 0) {
    quiescence_ordering_pass(sc, b);
  } else {
    for (int i = first; i < list.count; i++) list.values[i] = static_cast<uint16_t>(kNoScore);
  }
  for (sc.root_index = first; sc.root_index < list.count; sc.root_index++) {
    int m = list.moves[sc.root_index];
    sc.root_move = m;
    sc.move_stack[0] = m;
    report_currmove();
    int n = 64 * it - 64;
    if ((rootInCheck && list.count == 1) || gives_check(b, m) || pawn_to_seventh(b, m)) n += 64;
    UndoInfo undo;
    make_move(b, m, undo);
    int v;
    if (is_draw(b, true)) {
      v = root_draw_score(b, sc.engine_colour);
      pv[0] = 0;
    } else if (it > 1 && best != kNoScore) {
      v = -Search(b, -alpha - 1, -alpha, n, 1, pv, 1);
      if (v > alpha) {
        report_currmove();
        v = -Search(b, -beta, -alpha, n, 1, pv, 0);
      }
    } else {
      if (it == 1) sc.max_ply = kFirstIterationPly;
      v = -Search(b, -beta, -alpha, n, 1, pv, 0);
      sc.max_ply = 255;
    }
    unmake_move(b, m, undo);
    lastScore = v;
    int stored = v >= beta ? beta : v <= alpha ? alphaStart : v;
    list.values[sc.root_index] = static_cast<uint16_t>(stored);
    if (v > best) {
      if (first > 0 && (best == kNoScore || v > alpha)) {
        copy_pv(rootLines.lines[first].pv, m, pv);
      } else if (best == kNoScore || v > alpha) {
        sc.best_move = m;
        copy_pv(sc.root_pv, m, pv);
        report_new_best(it, v);
      }
      best = v;
      if (v > alpha) {
        if (it > 1) alpha = v;
        if (v >= beta) break;
      }
    }
  }
  return best;
}

// MultiPV: after the first line, line k searches the root moves no earlier
// line took, and its best move is then held at index k. A line that comes
// out better than an earlier one moves up, and the best line is the search's
// answer, so the lines are always in score order.
// The set counts only the lines of this iteration completed so far, so a
// search stopped half-way never mixes in lines of the iteration before.
void search_other_lines(SearchContext& sc, Board& b, bool rootInCheck) {
  MoveList& list = sc.root_moves;
  RootLines& set = rootLines;
  const int wanted = std::min(sc.multi_pv, list.count);
  set.count = 1;
  set.lines[0].score = sc.best_score;
  copy_pv(set.lines[0].pv, sc.best_move, sc.root_pv + 1);
  for (int k = 1; k < wanted; k++) {
    restore_root_position(sc);
    int lastScore = kNoScore;
    set.lines[k].score = search_iteration(sc, b, rootInCheck, lastScore, k);
    set.count = k + 1;
    for (int i = 0; i < k; i++) list.values[i] = static_cast<uint16_t>(INT16_MAX);
    sort(list);
  }
  sort_root_lines(set);
  for (int k = 0; k < set.count; k++) list.moves[k] = set.lines[k].pv[0];
  sc.best_score = set.lines[0].score;
  sc.best_move = set.lines[0].pv[0];
  std::memcpy(sc.root_pv, set.lines[0].pv, sizeof sc.root_pv);
}

// A limited strength may play another line of the last completed
// iteration than the best; never instead of a book move.
void play_weaker_line(SearchContext& sc, int margin) {
  if (margin <= 0 || (sc.book_move != 0 && sc.best_move == sc.book_move)) return;
  int k = choose_line(rootLines, margin);
  if (k == 0) return;
  const RootLine& line = rootLines.lines[k];
  sc.best_move = line.pv[0];
  sc.best_score = line.score;
  std::memcpy(sc.root_pv, line.pv, sizeof sc.root_pv);
}

// "go searchmoves": the legal moves not on the list leave the root list, in
// generation order. A list that names no legal move keeps them all (the
// protocol has said so).
void keep_search_moves(const SearchLimits& limits, MoveList& legal) {
  if (limits.search_move_count == 0) return;
  MoveList kept;
  kept.count = 0;
  for (int i = 0; i < legal.count; i++) {
    const uint16_t* end = limits.search_moves + limits.search_move_count;
    if (std::find(limits.search_moves, end, legal.moves[i]) != end) kept.moves[kept.count++] = legal.moves[i];
  }
  if (kept.count > 0) legal = kept;
}

// A book move found goes to sc.book_move and ends the search after
// iteration 1; an analysis never takes one. After four searches of a game
// whose positions were not in the book, the book is left alone for the rest
// of the game.
void probe_book(SearchContext& sc, Board& b) {
  // A restricted root is a question about those moves, not a game move.
  if (sc.limits.search_move_count > 0 || sc.limits.analysis) return;
  // The book knows the standard start array only.
  if (!searchParams.OwnBook || !engineBook.file || sc.book_misses >= 4 || b.chess960) return;
  if (!book_has_position(engineBook, b.hashKey)) {
    sc.book_misses++;
    return;
  }
  sc.book_move = book_choose(b, engineBook, true);
  DebugPrint("Found book move");
}

}  // namespace

void prepare_search(Board&) {
  SearchContext& sc = searchContext;
  sc.prev_score = kNoScore;
  if (globals.firstTime) {
    if (globals.debug) Print("info string First time");
    globals.firstTime = false;
    globals.quiet = false;
    sc.depth_reached = 0;
    init_eval_tables();
  }
  sc.book_misses = 0;
}

void reset_search() {
  SearchContext& sc = searchContext;
  sc.q1 = sc.q2 = sc.q3 = sc.q4 = -1;
  globals.stopSearch = false;
  sc.poll_countdown = 10000;
  sc.nodes = 0;
  sc.elapsed_ms = 0;
  sc.nps = 0;
  sc.last_report_ms = 0;
  sc.best_move = 0;
  sc.root_pv[0] = sc.root_pv[1] = 0;
  sc.root_move = 0;
  sc.root_index = 0;
  sc.score_jumped = false;
  sc.score_dropped = sc.score_dropped_before = sc.score_collapsed = true;
  sc.max_ply = 255;
  sc.seldepth = 0;
  forget_helper_nodes();
}

namespace {

int root_body(const Board* board) {
  SearchContext& sc = searchContext;
  // Preparation.
  sc.start_time = Clock::now();
  sc.last_report_ms = 0;
  sc.prev_score = sc.best_score = kNoScore;
  sc.tt_generation_opened = false;
  sc.mate_deadline = 0;
  sc.book_move = 0;
  sc.iteration = 0;
  const StrengthPlan plan = sc.limits.elo > 0 && !sc.limits.analysis ? strength_plan(sc.limits.elo)
                                                                      : StrengthPlan{};
  sc.nodes_per_second_limit = plan.nodes_per_second;
  sc.multi_pv = std::max(wanted_root_lines(), plan.lines);
  rootLines.count = 0;
  if (board) sc.search_board = *board;
  Board& b = sc.search_board;
  sc.engine_colour = b.side;
  allocate_time(false);
  MoveList legal;
  legal.count = 0;
  gen_legal(b, legal);
  keep_search_moves(sc.limits, legal);
  set_draw_scores(b.side);

  try {
    sc.root_moves.count = legal.count;
    std::memcpy(sc.root_moves.moves, legal.moves, sizeof(uint16_t) * legal.count);
    reset_ordering_tables(b);
    b.lazy_null = false;
    b.mobility_weight = b.king_safety_weight = b.passer_weight = 256;
    sc.root_board = b;
    order_root_moves(sc, b);
    probe_book(sc, b);
    DebugPrint("%s %s", sc.limits.ponder ? "start root ponder search" : "start root normal search",
               globals.stopSearch ? "with break on" : "");
    bool rootInCheck = in_check(b);

    for (sc.iteration = 1; sc.iteration < kMaxIterations;) {
      const int it = sc.iteration;
      if (sc.root_moves.count == 0) {
        sc.best_score = rootInCheck ? -29999 : 0;
        break;
      }
      if (it > 8) Print("info depth %d", it);
      // A forced move needs no deeper look in a game; a move the user picked
      // out, or an analysis, is asked about at every depth.
      bool onlyMove = sc.limits.search_move_count == 0 && !sc.limits.analysis;
      if (sc.root_moves.count == 1 && onlyMove && it >= 4) {
        DebugPrint("Break due to only one root move");
        break;
      }
      sc.score_dropped = sc.score_collapsed = sc.score_jumped = false;
      if (!sc.tt_generation_opened) {
        transpositionTable.new_generation(transpositionTable.generation() % 15 + 1);
        sc.tt_generation_opened = true;
      }
      // The helpers join once iteration 1 has ordered the root moves.
      publish_main_iteration(it);
      // A limited strength searches alone: its node rate is the main thread's.
      if (it == 2 && sc.nodes_per_second_limit == 0) start_helpers(sc);
      restore_root_position(sc);
      sc.nodes += 1;
      sc.poll_countdown -= 1;

      int lastScore = kNoScore;
      int best = search_iteration(sc, b, rootInCheck, lastScore);

      sc.best_score = best;
      sort(sc.root_moves);
      if (sc.multi_pv > 1) {
        search_other_lines(sc, b, rootInCheck);
        best = sc.best_score;
      }
      if (-30000 < best && best < 30000) transpositionTable.store_pv(sc.root_pv, b);

      sc.refresh_elapsed();
      if (sc.multi_pv > 1) report_root_lines(rootLines);
      report_iteration();
      if (it > 1) {
        sc.score_dropped_before = sc.score_dropped;
        sc.score_dropped = false;
      }
      search_poll();
      sc.prev_score = lastScore > best ? lastScore : best;

      if (it >= sc.limits.depth_limit && !sc.limits.infinite && !sc.limits.ponder) {
        DebugPrint("break due to depth limit reached");
        globals.stopSearch = true;
      }
      if (std::abs(best) > kMateThreshold) {
        int moves = std::abs(mate_distance(sc.prev_score));
        if (it > 2 * moves) break;
        if (sc.mate_deadline == 0)
          sc.mate_deadline = it + 3;
        else if (it > sc.mate_deadline)
          break;
      } else {
        sc.mate_deadline = 0;
      }
      bool bookMove = searchParams.OwnBook && sc.book_move != 0;
      if (std::abs(best) <= kMateThreshold && bookMove) {
        sc.best_move = sc.book_move;
        sc.root_pv[0] = static_cast<uint16_t>(sc.book_move);
        sc.root_pv[1] = 0;
        report_new_best(it, 0);
        DebugPrint("Book move break");
        break;
      }
      if (globals.stopSearch || bookMove) break;
      sc.iteration++;
    }
  } catch (const SearchAborted&) {
    stop_helpers();
    // The tree was left mid-way: its makes were never taken back.
    restore_root_position(sc);
    sc.max_ply = 255;
    sc.refresh_elapsed();
    DebugPrint("used time = %.4f \n", sc.elapsed_ms * 0.001);
    // A restricted root's score is not the position's, and an analysis is
    // not a game: nothing to learn.
    if (sc.limits.search_move_count == 0 && !sc.limits.analysis)
      learn_from_aborted_search(sc.root_board.hashKey, sc.iteration, sc.best_move, sc.best_score,
                                searchParams.OwnBook && sc.book_move != 0);
    DebugPrint("longjmp ok - return from root");
    // Stopped before the first root move was searched: answer with the
    // first move of the ordered list rather than with no move at all.
    if (sc.best_move == 0 && sc.root_moves.count > 0) {
      sc.best_move = sc.root_moves.moves[0];
      sc.root_pv[0] = static_cast<uint16_t>(sc.best_move);
      sc.root_pv[1] = 0;
    }
    play_weaker_line(sc, plan.margin);
    sc.depth_reached = sc.iteration;
    return sc.best_score;
  }

  stop_helpers();
  DebugPrint("wait GUI");
  if (searchHooks.waitForGui) searchHooks.waitForGui();
  DebugPrint("wait over");
  play_weaker_line(sc, plan.margin);
  sc.depth_reached = sc.iteration;
  return sc.best_score;
}

}  // namespace

namespace {

// Which iterations a helper skips, by helper: rows of (block size, phase)
// that spread the helpers over the depths, so that at any time some search
// one or two plies deeper than the main thread and fill the table for it.
constexpr int kSkipRows = 20;
constexpr int kSkipSize[kSkipRows] = {1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4};
constexpr int kSkipPhase[kSkipRows] = {0, 1, 0, 1, 2, 3, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 6, 7};

bool helper_skips(int index, int iteration) {
  int row = (index - 1) % kSkipRows;
  return ((iteration + kSkipPhase[row]) / kSkipSize[row]) % 2 != 0;
}

}  // namespace

void helper_root(SearchContext& sc, int index) {
  set_draw_scores(sc.engine_colour);
  sc.search_board = sc.root_board;
  Board& b = sc.search_board;
  bool rootInCheck = in_check(b);
  sc.max_ply = 255;
  try {
    for (int it = sc.iteration; it < kMaxIterations; it++) {
      it = std::max(it, main_iteration());
      if (helper_skips(index, it)) continue;
      sc.iteration = it;
      restore_root_position(sc);
      int lastScore = kNoScore;
      search_iteration(sc, b, rootInCheck, lastScore);
      sort(sc.root_moves);
    }
  } catch (const SearchAborted&) {
    sc.max_ply = 255;
  }
}

int Root(const Board* board) {
  auto fill = [](GuardFrame& frame) {
    SearchContext& sc = searchContext;
    frame.live[0] = &sc.iteration;
    frame.live[1] = &sc.root_index;
    frame.moves = &sc.root_move;
    frame.moveCount = 1;
  };
  return guarded_in_winboard(GuardKind::kRoot, fill, [&] { return root_body(board); });
}

}  // namespace torvek
