// Draws by the fifty-move rule and by repetition. Only positions with the
// same side to move are compared (even distances), never one before the last
// capture or pawn move (distance at most `fifty`), and never one closer than
// four plies, the first distance at which a position can recur.
#include "board/attack.h"
#include "board/movegen.h"

namespace torvek {

bool is_draw(Board& b, bool strict) {
  if (b.fifty > 100) return true;
  // A mate given with the hundredth half-move still counts.
  if (b.fifty == 100) return !is_checkmate(b);
  int needed = strict ? 2 : 1;
  int reach = b.fifty < b.histCount ? b.fifty : b.histCount;
  for (int i = 4; i <= reach; i += 2)
    if (b.keyHistory[b.histCount - i] == b.hashKey && --needed == 0) return true;
  return false;
}

}  // namespace torvek
