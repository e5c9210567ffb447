// Coordinate move text (e2e4, e7e8q) both ways, square text, the ASCII board
// and the two FEN mirrors.
#pragma once

#include <cstdio>
#include <string>

namespace torvek {

class Board;

// False (nothing written) when the buffer holds fewer than 6 characters.
bool move_to_text(int move, char* buffer, int size);
// No legality check; MoveNone for malformed text. On a Chess960 board a
// castle is read as the king taking its own rook, or as "O-O" / "O-O-O".
int text_to_move(const Board& b, const char* text);
// "O-O" or "O-O-O" for a Chess960 castling move word (king takes rook),
// null for any other kind.
const char* castle_text(int move);
bool square_to_text(int sq, char* buffer, int size);
// Exactly a file letter and a rank digit, else 0.
int text_to_square(const char* text);
void print_board(FILE* out, const Board& b);
// Mirror over the rows (colours change places) and over the files.
std::string mirror_fen_rows(const char* fen);
std::string mirror_fen_files(const char* fen);

}  // namespace torvek
