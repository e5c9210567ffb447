// Position set-up from FEN (strict: any defect ends the program through
// FatalError) and the FEN/EPD writer.
#pragma once

#include <string>

namespace torvek {

class Board;

extern const char* const kStartFen;

// Returns only when the position is valid.
void SetupFEN(Board& b, const char* fen);
// Validates a board whose squares, side, castle, epSquare and fifty are
// filled and builds every derived field.
void InitPosition(Board& b);

// Appends the position (placement, side, castling, en passant; never the
// counters) and the given EPD operations (null = absent) to `out`.
void write_fen(const Board& b, std::string& out, const char* id = nullptr,
               const char* bm = nullptr, const char* am = nullptr, const char* pv = nullptr,
               const char* ce = nullptr, const char* extra = nullptr);

}  // namespace torvek
