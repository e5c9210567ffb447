// The position command shared by both protocols: UCI "position" lines, and
// the WinBoard game record, which is replayed as such a line.
#pragma once

namespace torvek {

// Sets topBoard from "position startpos|fen <FEN> [moves m1 m2 ...]".
// A move token that is not a legal move in the position is not made; the
// command stops there with an "info string" message, the moves before it
// stand. Returns false when the line was rejected or a token was refused.
bool uci_position(const char* line);

}  // namespace torvek
