// Chess960 castling: where king and rook end, the rule setting that FEN
// set-up reads, the generator and the FEN castling field both ways.
//
// A right is named by its bit number 0..3 (K Q k q, as in Board::castle).
// In Chess960 the king and the rook of a right may stand anywhere on their
// back rank with the king between the rooks; the castle still ends with
// the king on g/c and the rook on f/d. The move word is the king taking its
// own rook (from = king, to = rook), which no other move can be, so a
// castle never has from == to and is never confused with a king step.
#pragma once

#include <string>

#include "board/board.h"

namespace torvek {

// Whether positions set up from now on follow Chess960 castling (UCI
// "UCI_Chess960", WinBoard "variant fischerandom"). Off at start-up.
void set_chess960(bool on);
bool chess960_enabled();

constexpr int kColumnC = 6, kColumnD = 7, kColumnF = 9, kColumnG = 10;

inline bool castles_king_side(int kingFrom, int rookFrom) { return rookFrom > kingFrom; }
inline int castle_king_target(int kingFrom, int rookFrom) {
  return make_square(row_of(kingFrom), castles_king_side(kingFrom, rookFrom) ? kColumnG : kColumnC);
}
inline int castle_rook_target(int kingFrom, int rookFrom) {
  return make_square(row_of(kingFrom), castles_king_side(kingFrom, rookFrom) ? kColumnF : kColumnD);
}

// The castling moves of the side to move (king side first), for a board
// with `chess960` set. As in standard chess, the caller makes sure the king
// is not in check and tests the king's destination with pseudo_is_legal;
// the squares the king crosses are tested here.
void gen_castling_960(const Board& b, MoveList& list);

// The castling field of a FEN read with Chess960 on: Shredder-FEN (rook
// files, "HAha") or X-FEN ("KQkq" for the outermost rook, a file letter
// where that is ambiguous), in any order. Sets castle, castleRook,
// castleMask and shredderFen; `b.squares` must be filled. Returns the
// position after the field; a right without its king on the back rank or
// its rook on the named file, and two rights on one wing, are fatal.
int parse_castling_960(Board& b, const char* fen, int pos);
// The field as it was read: file letters after Shredder-FEN, else X-FEN.
void write_castling_960(const Board& b, std::string& out);

}  // namespace torvek
