// The one search object. It owns the search's byte copy of the root board, so
// the game position is never touched by a search, perft or listing.
#pragma once

#include "board/board.h"

namespace torvek {

struct SearchContext {
  Board search_board;
};

extern SearchContext searchContext;

}  // namespace torvek
