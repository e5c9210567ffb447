// The staged move picker. A node never holds a sorted list of all its moves:
// it asks for the next move, and the picker generates lazily, stage by stage,
// so a cut-off on the hash move or a capture leaves the quiet moves
// ungenerated. Full search, not in check: hash move, good captures, killers,
// quiet moves by history, deferred (losing) captures. In check: the legal
// evasions, generated and sorted at once. Quiescence: captures that do not
// lose (never an under-promotion), optionally followed by quiet checks; in
// check, all evasions.
#pragma once

#include "board/board.h"
#include "board/movegen.h"

namespace torvek {

struct MovePicker {
  int ply;
  int depth;
  int hash_move;
  int killer1, killer2;
  const int* stage;  // position in the stage sequence
  MoveList list;
  int pos;
  MoveList deferred;
  int deferred_pos;
  Checkers checkers;
  int history_ratio;  // of the move last returned, in 1/16384
};

struct QsPicker {
  const int* stage;
  MoveList list;
  int pos;
  Checkers checkers;
  bool with_checks;
};

// `hash_killer` must be 0 or a move already checked for this position.
void genm_init(int ply, Board& b, MovePicker& p, const Checkers& checkers, int depth,
               int hash_killer);
// The next move, or 0 when the stages are exhausted. Every move returned is
// legal.
int next_move(Board& b, MovePicker& p);
// Number of legal evasions when the node is in check (0 otherwise).
inline int evasion_count(const MovePicker& p) { return p.checkers.count ? p.list.count : 0; }

void qs_init(Board& b, QsPicker& p, const Checkers& checkers, bool with_checks);
int next_qs_move(Board& b, QsPicker& p);

}  // namespace torvek
