// The root search: prepares one search of the root position, then deepens
// iteration by iteration over the legal root moves with a principal-variation
// search until a limit, a mate, a single legal move or stopSearch ends it.
// The caller fills the limits, calls reset_search and Root, then reports.
#pragma once

namespace torvek {

class Board;

// Search-state reset for a new root position (new game, position set-up,
// test tools); the first call also builds the evaluation's tables.
void prepare_search(Board& board);
// Statistics and time limits before every Root call; clears stopSearch.
void reset_search();
// Searches `board` (copied into the search's own board; null: search the
// board already there). Returns the score; best_move, root_pv and
// depth_reached of the search context hold the result.
int Root(const Board* board);

struct SearchContext;
// A helper thread's search of the root handed to `sc` (root board, root
// moves, engine colour, first iteration), deepening until stopped; helper
// `index` (1, 2, ...) skips some iterations so that the helpers spread
// over the depths. Nothing is reported.
void helper_root(SearchContext& sc, int index);

}  // namespace torvek
