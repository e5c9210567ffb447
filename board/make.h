// Making and unmaking moves. Everything is incremental; unmake copies keys
// and scores back from the record and does no arithmetic on them.
#pragma once

#include "board/board.h"

namespace torvek {

// The move must be pseudo-legal for the side to move.
void make_move(Board& b, int move, UndoInfo& undo);
// Same move and record, strictly last-in first-out.
void unmake_move(Board& b, int move, const UndoInfo& undo);
void make_null(Board& b, UndoInfo& undo);
void unmake_null(Board& b, const UndoInfo& undo);

}  // namespace torvek
