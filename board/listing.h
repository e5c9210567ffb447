// The console's views of a position: the ASCII board, the pieces listing,
// the legal-moves listing and the EPD line, each built as text so that the
// caller decides where it goes.
#pragma once

#include <string>

namespace torvek {

class Board;

// The bordered 8x8 diagram, rank 8 first, ending with the file letters and
// an empty line.
std::string board_text(const Board& b);
// Per side, white first: "\n<letter> at <sq>" for the first man of each
// piece code and " <sq>" for the others (pieces in list order, then pawns),
// then a final line break.
std::string pieces_text(const Board& b);
// "<n> moves\n" and the legal moves' texts, each followed by a blank, in
// generation order, then a line break.
std::string moves_text(Board& b);
// The FEN/EPD writer's text with the operation "id c<seconds>".
std::string epd_line(const Board& b, long long seconds);

}  // namespace torvek
