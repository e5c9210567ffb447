// Perft over the legal-move generator. Every move of the tree is made and
// unmade, leaves included, and a move that reaches a draw by the strict test
// (fifty-move rule, third occurrence) is neither counted nor searched on.
#include "board/perft.h"

#include "board/attack.h"
#include "board/make.h"
#include "board/movegen.h"
#include "board/movetext.h"
#include "core/output.h"

namespace torvek {

namespace {

bool depth_refused(int depth, bool quiet) {
  if (depth <= kMaxPerftDepth) return false;
  if (!quiet) Print("Error (perft depth %d, at most %d)", depth, kMaxPerftDepth);
  return true;
}

}  // namespace

void perft(Board& b, int depth, int ply, double& count, bool quiet) {
  if (depth <= 0 || (ply == 0 && depth_refused(depth, quiet))) return;
  MoveList list;
  list.count = 0;
  gen_legal(b, list);
  bool root = ply == 0 && !quiet;
  for (int i = 0; i < list.count; i++) {
    int move = list.moves[i];
    UndoInfo undo;
    make_move(b, move, undo);
    if (!is_draw(b, true)) {
      if (root) write_raw(".");
      // Depth 1 counts the move; the call one ply down would return at once.
      if (depth == 1)
        count += 1;
      else
        perft(b, depth - 1, ply + 1, count, quiet);
    }
    unmake_move(b, move, undo);
  }
  if (root) Print("\n%.f", count);
}

double perftm(Board& b, int depth, bool quiet) {
  if (depth_refused(depth, quiet)) return 0;
  MoveList list;
  list.count = 0;
  gen_legal(b, list);
  double total = 0;
  for (int i = 0; i < list.count; i++) {
    int move = list.moves[i];
    UndoInfo undo;
    make_move(b, move, undo);
    double counter = 0;
    char text[8];
    move_to_text(move, text, sizeof text);
    // At depth 1 a root move is its own single node, counted as perft 1
    // counts it, so the total always equals perft's.
    if (depth == 1)
      counter = is_draw(b, true) ? 0 : 1;
    else
      perft(b, depth - 1, 1, counter, false);
    if (!quiet) Print("%02i %s %.f", i + 1, text, counter);
    unmake_move(b, move, undo);
    total += counter;
  }
  if (!quiet) Print("total:  %.f", total);
  return total;
}

}  // namespace torvek
