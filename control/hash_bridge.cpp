// The parameter code's view of the transposition table.
#include "control/hash_bridge.h"

#include "search/tt.h"

namespace torvek {

void hash_allocate_bytes(int bytes) { transpositionTable.allocate_bytes(static_cast<uint64_t>(bytes)); }
void hash_clear() { transpositionTable.clear(); }

}  // namespace torvek
