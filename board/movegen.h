// Move generators. All append to a caller-owned list (never clearing it
// unless stated), never allocate, and emit in a fixed, documented order:
// perft listings, the "moves" command and ordering ties depend on it.
#pragma once

#include "board/board.h"

namespace torvek {

struct Checkers {
  int count;       // 0, 1 or 2
  int squares[3];  // checker squares, 0-terminated
  int steps[3];    // step from the king towards a slider checker, else 0
};

// Move-word helpers that need the board.
int captured_piece(const Board& b, int move);
bool is_capture(const Board& b, int move);
bool is_tactical(const Board& b, int move);
int promoted_piece_code(int move);

void gen_captures(const Board& b, MoveList& list);  // captures and promotions
void gen_quiet(const Board& b, MoveList& list);
void gen_en_passant(const Board& b, MoveList& list);
void gen_castling(const Board& b, MoveList& list);
// True when `move` is one of the castles gen_castling gives here.
bool is_generated_castle(const Board& b, int move);
void gen_all(const Board& b, MoveList& list);  // without en passant and castling
void gen_all_pseudo(const Board& b, MoveList& list);  // all, en passant, castling
void gen_checkers(const Board& b, Checkers& checkers);
// Returns true when `any` is set and a move was found.
bool gen_evasions(const Board& b, const Checkers& checkers, MoveList& list, bool legalOnly, bool any);
void gen_quiet_checks(Board& b, MoveList& list);
void gen_legal(Board& b, MoveList& list);
// `move` is one of the legal moves of `b` (a full generation: for commands,
// not for the search).
bool is_legal_move(Board& b, int move);
// Compacts the list in place, keeping order: the legal moves, or with
// `keepIllegal` the ones that fail the test.
void filter_legal(Board& b, MoveList& list, bool keepIllegal = false);
bool is_checkmate(const Board& b);
bool is_stalemate(Board& b);

}  // namespace torvek
