// Move ordering: the scores that sort moves inside a picker stage, the
// good-capture test, the stable sort, and the per-search heuristic tables
// (two killers per ply, three history tables by piece and target square)
// with their update and halving rules. The tables live in the Board so that
// a byte copy of a board carries them.
#pragma once

#include "board/board.h"

namespace torvek {

constexpr int kHashMoveScore = 32766;
constexpr int kQuietBase = -24000;
constexpr int kHistoryOne = 16384;  // history ratio of a move that always cut off

// Captures: 6 x victim type - attacker type + 5 (PxQ 29, QxP 1); en passant
// 5; a promotion without capture: new piece type - 5.
int capture_score(const Board& b, int move);
// En passant, a winning or even capture, a capturing promotion, or an
// exchange that does not lose; never an under-promotion.
bool good_capture(const Board& b, int move);
// Evasions and the root list: the hash move first, then good captures,
// killers, quiet moves by history, losing captures last.
int list_score(const Board& b, int move, int ply, int hashMove);
// Stable, descending by the signed 16-bit values.
void sort(MoveList& list);

inline int history_index(const Board& b, int move) {
  return pieceIndexOfCode[b.squares[square64ToBoard[move_from(move)]]] * 64 + move_to(move);
}

// Killers and historyScaled to 0, historyTried and historyGood to 1.
void reset_ordering_tables(Board& b);
// For a quiet best move: the killers of the ply and historyScaled.
void update_on_best(int move, Board& b, int depthPlies, int ply);
// The cut-off statistics behind the history ratio.
void count_tried(int move, Board& b);
void count_good(int move, Board& b);

}  // namespace torvek
