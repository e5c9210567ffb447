// Attack tests. (Placeholder implementation until the attack tables land.)
#pragma once

namespace torvek {

class Board;

void init_attack_tables();
// True when a man of `side` attacks board square `sq`.
bool is_attacked(const Board& b, int side, int sq);
// The king of the side to move is attacked.
bool in_check(const Board& b);

}  // namespace torvek
