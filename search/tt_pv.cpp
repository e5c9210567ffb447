// Writing a principal variation into the table as move-only slots, so that
// the next iteration finds the expected line first at every node of it.
#include "board/board.h"
#include "board/make.h"
#include "search/context.h"
#include "search/move_check.h"
#include "search/tt.h"

namespace torvek {

void TranspositionTable::store_pv(const uint16_t* pv, Board& board) {
  UndoInfo undo[kPvSize];
  uint64_t keys[kPvSize];
  int made = 0;
  // Depth -127 beats only an empty move slot or another variation move.
  while (made < kPvSize - 1 && pv[made] != 0 && pv[made] != MoveNull &&
         is_move_playable(board, pv[made])) {
    keys[made] = board.hashKey;
    make_move(board, pv[made], undo[made]);
    made++;
  }
  while (made-- > 0) {
    unmake_move(board, pv[made], undo[made]);
    store(key_low(keys[made]), key_high(keys[made]), pv[made], -127, kNoLowerBound,
          kNoUpperBound);
  }
}

}  // namespace torvek
