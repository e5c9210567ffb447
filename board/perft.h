// Perft: counts the move sequences of a given length, making and unmaking
// every move and skipping those that reach a draw, exactly as a search
// would see the tree. The check that generation, legality and make/unmake
// agree.
#pragma once

namespace torvek {

class Board;

// Deeper counts never finish, and each ply takes about a kilobyte of stack:
// a root depth beyond this is refused with a message instead of running
// into the end of the stack.
constexpr int kMaxPerftDepth = 64;

// Adds to `count` the nodes `depth` plies below `b`. At ply 0 and not quiet
// it writes one dot per counted root move and then the count.
void perft(Board& b, int depth, int ply, double& count, bool quiet);
// Per root move: its text and the nodes below it, then the total. Returns
// the total.
double perftm(Board& b, int depth, bool quiet);

}  // namespace torvek
