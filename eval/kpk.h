// King and pawn against king, decided by the bitbase in the board's kpkTable
// (loaded from "KPK.dat"; programs/kpkgen writes that file). A set bit means the
// pawn side wins; a missing file leaves every position a draw.
#pragma once

namespace torvek {

class Board;

// Clears the table and loads "KPK.dat" from the working directory. Always
// returns true: the engine plays on without the file.
bool KPKload(Board& b);
// The bit of a position given by its men (board squares) and t = 0 when the
// pawn side is to move, 1 when the defender is.
bool kpk_bit(const Board& b, int pawnSide, int king, int pawn, int defender, int t);
// The board must hold exactly both kings and one pawn of `pawnSide`. Score
// from the pawn side's view: 0 for a draw, else 900 + the pawn's row as seen
// from its side (905 on its 2nd rank ... 910 on its 7th).
int kpk_probe(const Board& b, int pawnSide, int t);

}  // namespace torvek
