// The result record, read from the search context after Root.
#include "search/result.h"

#include <cstring>

#include "board/attack.h"
#include "search/threads.h"
#include "search/tt.h"

namespace torvek {

namespace {

// The variation's second move is the reply to ponder on, if the variation
// still belongs to the move played (a book move replaces it by itself).
int ponder_move_of(const SearchContext& sc) {
  bool ours = sc.root_pv[0] == sc.best_move && move_is_ok(sc.root_pv[1]);
  return ours ? sc.root_pv[1] : 0;
}

}  // namespace

SearchResult search_result(SearchContext& sc, int score) {
  SearchResult r;
  r.score = score;
  r.best_move = sc.best_move;
  r.ponder_move = ponder_move_of(sc);
  std::memcpy(r.pv, sc.root_pv, sizeof r.pv);
  r.depth = sc.iteration;
  r.multi_pv = sc.multi_pv;
  r.nodes = total_nodes(sc);
  r.elapsed_ms = sc.elapsed_ms;
  r.nps = total_nps(sc);
  r.hashfull = transpositionTable.hashfull();
  r.side = sc.engine_colour;
  r.fifty = sc.search_board.fifty;
  r.no_legal_move = sc.root_moves.count == 0;
  r.in_check = in_check(sc.search_board);
  r.draw_by_rule = is_draw(sc.search_board, true);
  return r;
}

}  // namespace torvek
