// The move list of "go searchmoves".
#pragma once

namespace torvek {

struct SearchLimits;

// Reads the moves after "searchmoves" in a go line (up to the next go
// keyword or the end) as moves of topBoard into `limits`; a token that is
// not a legal move there is skipped with an "info string" line, and a list
// with no legal move leaves the search on every move, saying so.
void read_search_moves(const char* line, SearchLimits& limits);

}  // namespace torvek
