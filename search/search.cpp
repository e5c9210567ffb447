// Search, QS and VerifySearch. Each node follows a fixed numbered outline;
// the order of the tests matters for node counts and is kept exactly.
// WARNING: the abort is an exception thrown at node entry; nothing between a
// node and the root may hold a resource that needs unwinding, and no routine
// here catches it.
#include "search/search.h"

#include <algorithm>
#include <cstdlib>

#include "board/attack.h"
#include "board/board.h"
#include "board/make.h"
#include "board/movegen.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/eval_link.h"
#include "search/key_after.h"
#include "search/move_check.h"
#include "search/ordering.h"
#include "search/params.h"
#include "search/picker.h"
#include "search/pv.h"
#include "search/timeman.h"
#include "search/tt.h"

namespace torvek {

namespace {

constexpr int kOnePly = 64;
constexpr int kVerifyDepth = 320;      // 5 plies
constexpr int kSecondReductionDepth = 512;
constexpr int kFutilityMargin = 50;
constexpr int kDeltaMargin = 50;
constexpr int kPromotionGain = 900;
constexpr int kHorizon = 255;

inline int relative_row(int side, int sq) { return row_of(sq) ^ kRankFlipBySide[side]; }

inline void node_entry(SearchContext& sc, int ply, uint16_t* pv) {
  sc.nodes += 1;
  pv[0] = 0;
  if (ply > sc.seldepth) sc.seldepth = ply;
  if (--sc.poll_countdown <= 0) search_poll();
  if (globals.stopSearch.load(std::memory_order_relaxed)) throw SearchAborted{};
}

inline void copy_variation(uint16_t* pv, const uint16_t* source) {
  int i = 0;
  while (i < kPvSize - 1 && source[i]) {
    pv[i] = source[i];
    i++;
  }
  pv[i] = 0;
}

// Neither side can do better than mating or being mated at this distance.
// Returns true (and the score) when the window closes.
inline bool mate_distance_prune(Board& b, int& alpha, int& beta, int ply, int& result) {
  int low = ply - 29998;
  if (low > alpha) {
    if (is_checkmate(b)) low = ply - 30000;
    if (low > alpha) {
      alpha = low;
      if (low >= beta) {
        result = low;
        return true;
      }
    }
  }
  int high = 29999 - ply;
  if (high < beta) {
    beta = high;
    if (high <= alpha) {
      result = high;
      return true;
    }
  }
  return false;
}

inline int horizon_score(Board& b, int alpha, int beta) {
  return alpha > -kMateThreshold ? alpha : evalu8(b, alpha, beta);
}

inline bool pawn_to_seventh(const Board& b, int move) {
  int from = square64ToBoard[move_from(move)];
  return is_pawn_code(b.squares[from]) &&
         relative_row(b.side, square64ToBoard[move_to(move)]) == 10;
}

// Pawn to its seventh or eighth rank, a queen capture, or the capture of a
// pawn about to promote: never delta-pruned in quiescence.
bool is_dangerous(const Board& b, int move) {
  int from = square64ToBoard[move_from(move)], to = square64ToBoard[move_to(move)];
  if (is_pawn_code(b.squares[from]) && relative_row(b.side, to) >= 10) return true;
  int victim = b.squares[to];
  if ((victim & ~3) == kQueen) return true;
  return is_pawn_code(victim) && relative_row(b.side ^ 1, to) == 10;
}

// A bare king in a corner whose every reachable square is covered: the
// stand-pat score would be meaningless, the position is close to stalemate.
bool lone_king_cornered(Board& b) {
  int s = b.side;
  if (b.pieceCount[s] != 1 || b.pawnCount[s] != 0) return false;
  int k = b.king_square(s);
  if (k != kA1 && k != kH1 && k != kA8 && k != kH8) return false;
  for (const int* d = stepListOfCode[b.squares[k]]; *d; d++) {
    int code = b.squares[k + *d];
    if (code == kBorder) continue;
    if (code != kEmpty && piece_side(code) == s) continue;
    if (!is_attacked(b, s ^ 1, k + *d)) return false;
  }
  return true;
}

// History ratio below which a quiet move near the leaves is not searched.
inline int history_limit(const SearchParams& sp, int depth) {
  return depth <= 192 ? sp.HistoryValue / 3 : sp.HistoryValue / 4;
}

int delta_gain(const Board& b, int move) {
  int gain = move_kind(move) == kKindEnPassant
                 ? 100
                 : pieceValueOfCode[b.squares[square64ToBoard[move_to(move)]]];
  if (move_kind(move) == kKindPromotion) gain += kPromotionGain;
  return gain;
}

}  // namespace

// The node bodies; Search and QS below run them inside the fault guards of
// the WinBoard program.
int search_node(Board& b, int alpha, int beta, int depth, int ply, uint16_t* pv, int nt);
int qs_node(Board& b, int alpha, int beta, int qdepth, int ply, uint16_t* pv);

int draw_score(Board& b) {
  return ((256 - material_phase(b)) * draw_opening[b.side]) / 256;
}

int stalemate_score(Board& b) { return (15 * (material_phase(b) - 256)) / 256; }

int search_node(Board& b, int alpha, int beta, int depth, int ply, uint16_t* pv, int nt) {
  // 1. Horizon: quiescence takes over.
  if (depth <= 0) return QS(b, alpha, beta, 0, ply, pv);
  SearchContext& sc = this_search();
  const SearchParams& sp = searchParams;

  // 2. Node entry: count, poll, abort.
  node_entry(sc, ply, pv);

  // 3. Repetition, fifty moves, dead draws.
  if (is_draw(b, false) || is_recognized_draw(b)) return draw_score(b);

  // 4. Mate-distance pruning.
  int result;
  if (mate_distance_prune(b, alpha, beta, ply, result)) return result;

  // 5. Transposition table. Only non-PV nodes take a cut-off; a mate bound
  // is exact whatever its depth. The move is checked against the position,
  // since only half of the key is stored.
  int hashMove = 0;
  TTHit hit;
  uint32_t keyLow = key_low(b.hashKey), keyHigh = key_high(b.hashKey);
  if (transpositionTable.probe(keyLow, keyHigh, hit)) {
    if (nt != 0) {
      int d = depth >> 6;
      bool lowerOk = (hit.lower > 30000 ? d : hit.lower_depth) >= d;
      bool upperOk = (hit.upper < -30000 ? d : hit.upper_depth) >= d;
      int v = 0, w = 0;
      if (lowerOk) {
        v = score_from_table(hit.lower, ply);
        if (v >= beta) return v;
      }
      if (upperOk) {
        w = score_from_table(hit.upper, ply);
        if (w <= alpha) return w;
      }
      if (lowerOk && upperOk && v == w) return v;
    }
    hashMove = hit.move;
    if (hashMove && !is_move_playable(b, hashMove)) hashMove = 0;
  }

  // 6. Maximum ply.
  if (ply >= kHorizon || ply >= sc.max_ply) return horizon_score(b, alpha, beta);

  // 7. Node state.
  int alpha0 = alpha, best = kNoScore, bestMove = 0;
  Checkers checkers;
  gen_checkers(b, checkers);
  bool inCheck = checkers.count > 0;
  uint16_t childPv[kPvSize];
  uint16_t searched[kMaxMoves];
  int searchedCount = 0;
  bool storeOnly = false;  // a null-move cut-off: no ordering updates
  bool resolved = false;   // the score is known without the move loop

  // 8. Null move: give the opponent a free move; if it still fails high the
  // node is very likely a cut node. With a lone piece besides the king
  // zugzwang is common, so a deep cut-off is verified by a real search.
  // The child's bucket is fetched before the evaluation that may still
  // refuse the null move: its cost hides the memory latency.
  int reduced = depth - sp.NullReduction - kOnePly;
  bool nullAllowed = depth >= sp.NullStartDepth && nt != 0 && !inCheck &&
                     std::abs(beta) <= kMateThreshold && b.pieceCount[b.side] >= 2;
  if (nullAllowed && reduced > 0) transpositionTable.prefetch(key_low(key_after_null(b)));
  if (nullAllowed &&
      (!(sp.NullEval && depth > sp.NullReduction + kOnePly) || evalu8(b, alpha, beta) >= beta)) {
    UndoInfo undo;
    make_null(b, undo);
    sc.move_stack[ply] = MoveNull;
    if (sp.LazyNull && reduced <= 0) b.lazy_null = true;
    int v = -Search(b, -beta, -beta + 1, reduced, ply + 1, childPv, -nt);
    b.lazy_null = false;
    unmake_null(b, undo);
    if (v >= beta) {
      if (depth > kVerifyDepth && b.pieceCount[b.side] <= 2) {
        int r = VerifySearch(b, alpha, beta, depth - kVerifyDepth, ply, childPv, 1, hashMove,
                             &sc.move_stack[ply]);
        if (r >= beta) {
          best = r;
          bestMove = sc.move_stack[ply];
          searched[searchedCount++] = static_cast<uint16_t>(bestMove);
          copy_variation(pv, childPv);
          resolved = true;
        }
      } else {
        best = std::min(v, kMateThreshold);
        bestMove = 0;
        resolved = storeOnly = true;
      }
    }
  }

  if (!resolved) {
    // 9. Internal iterative deepening: a PV node without a table move finds
    // one by a shallower search of itself.
    if (hashMove == 0 && depth >= 192 && nt == 0) {
      int v = Search(b, alpha, beta, depth - 128, ply, pv, 0);
      if (v <= alpha) Search(b, -30000, beta, depth - 128, ply, pv, 0);
      hashMove = pv[0];
      if (hashMove && !is_move_playable(b, hashMove)) hashMove = 0;
      pv[0] = 0;
    }

    // 10. Move loop.
    MovePicker picker;
    genm_init(ply, b, picker, checkers, depth, hashMove);
    bool singleReply = inCheck && evasion_count(picker) == 1;
    bool futilityKnown = false;
    int futility = 0;
    for (int m; (m = next_move(b, picker)) != 0;) {
      sc.move_stack[ply] = m;
      int ratio = picker.history_ratio;
      // Above the last ply a move that history pruning cannot drop is
      // searched with depth left, so its child probes the table: the bucket
      // is fetched now, while the tests below run. Fetching for moves that
      // are then pruned would only crowd the cache.
      bool early = depth > kOnePly && !(!inCheck && depth <= 256 && nt != 0 &&
                                        ratio < history_limit(sp, depth));
      if (early) transpositionTable.prefetch(key_low(key_after_move(b, m)));
      bool toSeventh = pawn_to_seventh(b, m);

      // 10.1 Extensions: single reply, check, pawn to the seventh; one ply at most.
      int n = depth - kOnePly;
      if (singleReply || toSeventh || gives_check(b, m)) n += kOnePly;

      // 10.2 History pruning of quiet moves that rarely cut off.
      if (!inCheck && depth <= 256 && nt != 0 && n < depth && ratio < history_limit(sp, depth))
        continue;

      // 10.3 Late-move reductions.
      bool reducedMove = false;
      if (depth >= sp.LMRStartDepth && nt != 0 && !inCheck && searchedCount >= sp.LMRMoveNumber &&
          n < depth && ratio < sp.HistoryValue) {
        n -= sp.LMRreduction;
        reducedMove = true;
        if (ratio < sp.HistoryValue / 2 && depth >= kSecondReductionDepth) n -= kOnePly;
      }

      // 10.4 Futility pruning at the last ply.
      if (depth <= kOnePly && nt != 0 && !inCheck && n <= 0 && !is_tactical(b, m) && !toSeventh) {
        if (!futilityKnown) {
          futility = evalu8(b, alpha, beta) + kFutilityMargin;
          futilityKnown = true;
        }
        if (futility <= alpha) {
          if (futility > best) {
            best = futility;
            pv[0] = 0;
          }
          continue;
        }
      }

      // 10.5 Search the move: full window at cut and all nodes and for the
      // first move; elsewhere a null window first.
      UndoInfo undo;
      make_move(b, m, undo);
      if (n > 0 && !early) transpositionTable.prefetch(key_low(b.hashKey));
      int v;
      if (nt != 0 || best == kNoScore) {
        v = -Search(b, -beta, -alpha, n, ply + 1, childPv, -nt);
        if (sp.LMRresearch && reducedMove && v > alpha)
          v = -Search(b, -beta, -alpha, n + sp.LMRreduction, ply + 1, childPv, -nt);
      } else {
        v = -Search(b, -alpha - 1, -alpha, n, ply + 1, childPv, 1);
        if (v > alpha) v = -Search(b, -beta, -alpha, n, ply + 1, childPv, 0);
      }

      // 10.6 Take it back and remember it.
      unmake_move(b, m, undo);
      searched[searchedCount++] = static_cast<uint16_t>(m);

      // 10.7 Best so far.
      if (v > best) {
        best = v;
        copy_pv(pv, m, childPv);
        if (v > alpha) {
          bestMove = m;
          if (v >= beta) break;
          alpha = v;
        }
      }

      // 10.8 A cut node whose first move did not cut off is an all node.
      if (nt == 1) nt = -1;
    }

    // 11. No move: mate or stalemate.
    if (best == kNoScore) return inCheck ? ply - 30000 : stalemate_score(b);
  }

  // 12. Ordering updates.
  if (!storeOnly && bestMove != 0) {
    update_on_best(bestMove, b, depth / kOnePly, ply);
    if (best >= beta && !is_tactical(b, bestMove)) {
      for (int i = 0; i < searchedCount && searched[i] != bestMove; i++) count_tried(searched[i], b);
      count_good(bestMove, b);
    }
  }

  // 13. Store.
  if (depth >= kOnePly) {
    int lower = best > alpha0 ? score_to_table(best, ply) : kNoLowerBound;
    int upper = best < beta ? score_to_table(best, ply) : kNoUpperBound;
    transpositionTable.store(keyLow, keyHigh, bestMove, depth / kOnePly, lower, upper);
  }
  return best;
}

int VerifySearch(Board& b, int alpha, int beta, int depth, int ply, uint16_t* pv, int nt,
                 int hash_move, int* best_move_out) {
  SearchContext& sc = this_search();
  node_entry(sc, ply, pv);
  if (ply >= kHorizon) return alpha;
  *best_move_out = 0;
  int best = kNoScore;
  Checkers checkers;
  gen_checkers(b, checkers);
  MovePicker picker;
  genm_init(ply, b, picker, checkers, depth, hash_move);
  uint16_t childPv[kPvSize];
  for (int m; (m = next_move(b, picker)) != 0;) {
    int n = depth - kOnePly;
    if (pawn_to_seventh(b, m) || gives_check(b, m)) n += kOnePly;
    UndoInfo undo;
    make_move(b, m, undo);
    int v = -Search(b, -beta, -alpha, n, ply + 1, childPv, -nt);
    unmake_move(b, m, undo);
    if (v > best) {
      best = v;
      copy_pv(pv, m, childPv);
      if (v > alpha) {
        *best_move_out = m;
        if (v >= beta) return v;
        alpha = v;
      }
    }
  }
  return best == kNoScore ? stalemate_score(b) : best;
}

int qs_node(Board& b, int alpha, int beta, int qdepth, int ply, uint16_t* pv) {
  SearchContext& sc = this_search();
  // 1. Node entry.
  node_entry(sc, ply, pv);

  // 2. Draws.
  if (is_draw(b, false) || is_recognized_draw(b)) return draw_score(b);

  // 3. Mate-distance pruning.
  int result;
  if (mate_distance_prune(b, alpha, beta, ply, result)) return result;

  // 4. Maximum ply.
  if (ply >= kHorizon || ply >= sc.max_ply) return horizon_score(b, alpha, beta);

  // 5. Checks earn quiescence depth, so that check sequences may go on.
  Checkers checkers;
  gen_checkers(b, checkers);
  bool inCheck = checkers.count > 0;
  if (inCheck) qdepth += kOnePly;
  int alpha0 = alpha, best = kNoScore, futility = 30000;

  // 6. Stand pat.
  if (!inCheck) {
    if (lone_king_cornered(b)) return draw_score(b);
    int s = evalu8(b, alpha, beta);
    best = s;
    if (s > alpha) {
      alpha = s;
      if (s >= beta) return s;
    }
    futility = s + kDeltaMargin;
  }

  // 7-8. Captures (and, while checks are paid for, quiet checks).
  QsPicker picker;
  qs_init(b, picker, checkers, qdepth >= 0);
  uint16_t childPv[kPvSize];
  for (int m; (m = next_qs_move(b, picker)) != 0;) {
    // 8.1 Delta pruning at null-window nodes.
    if (beta == alpha0 + 1 && !inCheck) {
      int gain = futility + delta_gain(b, m);
      if (gain <= alpha && !is_dangerous(b, m) && !gives_check(b, m)) {
        if (gain > best) {
          best = gain;
          pv[0] = 0;
        }
        continue;
      }
    }
    // 8.2-8.3
    sc.move_stack[ply] = m;
    UndoInfo undo;
    make_move(b, m, undo);
    int v = -QS(b, -beta, -alpha, qdepth - kOnePly, ply + 1, childPv);
    unmake_move(b, m, undo);
    if (v > best) {
      best = v;
      copy_pv(pv, m, childPv);
      if (v > alpha) {
        alpha = v;
        if (v >= beta) return best;
      }
    }
  }

  // 9. In check without an evasion: mated.
  return best == kNoScore ? ply - 30000 : best;
}

int Search(Board& b, int alpha, int beta, int depth, int ply, uint16_t* pv, int nt) {
  auto fill = [&](GuardFrame& frame) {
    frame.values[0] = ply;
    frame.values[1] = alpha;
    frame.values[2] = beta;
    frame.moves = this_search().move_stack;
    frame.moveCount = ply < kMaxPly ? ply : kMaxPly;
  };
  return guarded_in_winboard(GuardKind::kSearch, fill,
                             [&] { return search_node(b, alpha, beta, depth, ply, pv, nt); });
}

int QS(Board& b, int alpha, int beta, int qdepth, int ply, uint16_t* pv) {
  auto fill = [&](GuardFrame& frame) {
    frame.values[0] = ply;
    frame.values[1] = 0;
    frame.values[2] = alpha;
    frame.values[3] = beta;
  };
  return guarded_in_winboard(GuardKind::kQS, fill,
                             [&] { return qs_node(b, alpha, beta, qdepth, ply, pv); });
}

}  // namespace torvek
