// Playing below full strength (UCI_LimitStrength / UCI_Elo). Two handicaps,
// both falling with the level: a node rate the search may not exceed (it
// still spends its share of the clock, so it thinks like a player with less
// time, not like a random mover), and at the lower levels a choice among the
// best few root lines, where a move somewhat worse than the best is played
// now and then: the weaker the level, the wider the margin.
#pragma once

#include "search/context.h"

namespace torvek {

struct RootLines;

// The Elo range of the limit; kTopElo is full strength.
constexpr int kBottomElo = 1350;
constexpr int kTopElo = 2100;

struct StrengthPlan {
  double nodes_per_second = 0;  // 0: no rate limit
  int lines = 1;                // root lines to choose from
  int margin = 0;               // centipawns a chosen line may lie below the best
};

// The handicaps of `elo`, clamped to kBottomElo..kTopElo.
StrengthPlan strength_plan(int elo);

// Holds the search to its node rate: sleeps, a few milliseconds at a time
// and reading the GUI in between, while the nodes run ahead of the clock.
void throttle(SearchContext& sc);

// Which of the lines to play: the index of the line with the highest score
// plus a random share of the margin. Lines that are mated, and every line
// but the first when the first mates, never compete.
int choose_line(const RootLines& lines, int margin);

}  // namespace torvek
