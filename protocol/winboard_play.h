// The engine's side of a WinBoard game: thinking on its move, pondering on
// the expected reply, and the analysis loop.
#pragma once

namespace torvek {

// "go": sets searching, releases the line, thinks and ponders, clears
// searching, then finishes a "new" that arrived meanwhile.
void run_go();
// "analyze": the analysis loop, until "exit" or "quit".
void run_analysis();
// The part of "new" that must not run under a search: the ini file, the
// hash table and the search state for a new game.
void start_new_game_tables();

}  // namespace torvek
