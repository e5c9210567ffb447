// The position terms of evalu8 after material and pawns: mobility, king
// safety and piece patterns. Each adds white minus black to the opening and
// endgame sums.
#pragma once

namespace torvek {

class Board;
struct MaterialInfo;
struct PawnInfo;

void init_piece_square_tables();
void init_mobility_tables();
void init_king_safety_tables();

void add_mobility(const Board& b, const PawnInfo& p, int& opening, int& endgame);
void add_king_safety(const Board& b, const MaterialInfo& m, int& opening, int& endgame);
// Returns how many patterns matched (their scores are not symmetric between
// the colours, which tests need to know).
int add_piece_patterns(const Board& b, int& opening, int& endgame);
// The king-shelter penalty of `side` for a king on board square `sq`.
int shelter(const Board& b, int side, int sq);

}  // namespace torvek
