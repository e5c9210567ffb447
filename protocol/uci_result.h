// The UCI program's answer to "go": the final "info" line, "bestmove" with
// the move to ponder on, and the fifty-move counter for the log.
#pragma once

namespace torvek {

struct SearchResult;

// Writes the final lines of a search; "bestmove 0000" when there was no
// legal move. The answer is written even while "quiet" is on.
void report_result_uci(const SearchResult& result);

}  // namespace torvek
