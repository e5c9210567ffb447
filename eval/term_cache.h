// A cache of the costly positional terms (mobility, king safety, passed
// pawns, patterns) by the position's hash key. Those terms depend on the
// position (side to move and castling rights included) and the three
// evaluation weights only, so a position the search meets again, as
// quiescence does through transpositions, gets them back without
// recomputation. The whole cache is dropped when the weights change.
#pragma once

#include <cstdint>

namespace torvek {

class Board;

struct TermSums {
  int opening, endgame;
};

// Starts loading the position's slot: the evaluation probes it only after
// material and pawns.
void term_cache_prefetch(const Board& b);
// True with the sums when the position is cached under the board's weights.
bool term_cache_probe(const Board& b, TermSums& sums);
void term_cache_store(const Board& b, const TermSums& sums);
void clear_term_cache();

}  // namespace torvek
