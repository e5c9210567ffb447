// The WinBoard program's answer when its search ends: the last thinking
// line, the result line when the game is over in the root position or after
// the engine's move, and "move" with the "Hint:" to ponder on.
#pragma once

#include <string>

namespace torvek {

struct SearchResult;

enum class GameEnd { kNone, kMate, kDraw };

// Writes the move (even while "quiet" is on) and the game-end lines; hands
// the move and hint texts back (empty when none). kMate: the engine should
// stop playing its side, as after "force".
GameEnd report_result_winboard(const SearchResult& result, std::string& moveText,
                               std::string& hintText);

}  // namespace torvek
