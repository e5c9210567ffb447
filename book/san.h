// SAN move text, read only: a token becomes a seven-character pattern
// (piece, from-file, from-rank, captured piece, to-file, to-rank, promotion;
// "?" where the token leaves it open), and the pattern becomes the one legal
// move of the position that fits it.
#pragma once

namespace torvek {

class Board;

constexpr int kPatternSize = 8;  // seven characters and the terminator

// False when the token is no SAN move here (or the buffer is 7 or smaller).
bool san_to_pattern(int size, const Board& board, const char* token, char* pattern);
// The legal move that fits, or 0 when none or several fit.
int pattern_to_move(Board& board, const char* pattern);

}  // namespace torvek
