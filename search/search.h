// The tree search below the root: principal-variation alpha-beta (`Search`),
// the quiescence search at its horizon (`QS`) and the verification search
// behind a null-move cut-off with little material (`VerifySearch`). Depths are
// in 1/64 ply; scores are from the side to move's view, mate at ply p scoring
// p - 30000 for the mated side. Node types: 0 PV, 1 expected cut, -1 expected
// all. Every routine leaves the board as it found it, except when the search
// is aborted: then SearchAborted unwinds straight to the root, which restores
// its board from its own copy.
#pragma once

#include <cstdint>

#include "core/guards.h"

namespace torvek {

class Board;

// Thrown at node entry once stopSearch is set; caught only by Root.
// The fault guards of the WinBoard program let it pass without a report.
struct SearchAborted : GuardPassThrough {};

int Search(Board& b, int alpha, int beta, int depth, int ply, uint16_t* pv, int nt);
int QS(Board& b, int alpha, int beta, int qdepth, int ply, uint16_t* pv);
int VerifySearch(Board& b, int alpha, int beta, int depth, int ply, uint16_t* pv, int nt,
                 int hash_move, int* best_move_out);

// Repetition, fifty moves, dead draw: the contempt of the side to move,
// fading to 0 as the material goes.
int draw_score(Board& b);
// No legal move and not in check, for the side to move whatever its colour.
int stalemate_score(Board& b);

}  // namespace torvek
