// The strength limit's two handicaps: the plan of each level (a node rate
// that falls and a choice margin that widens as the level falls, nothing at
// the top), and the choice among root lines, which must never play into a
// mate, never leave a mate it has, and never go beyond the margin.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "search/lines.h"
#include "search/strength.h"

using namespace torvek;

namespace {

RootLines lines_scored(std::initializer_list<int> scores) {
  RootLines set;
  for (int score : scores) {
    set.lines[set.count].score = score;
    set.lines[set.count].pv[0] = static_cast<uint16_t>(set.count + 1);
    set.count++;
  }
  return set;
}

// How often each line is chosen in `draws` tries.
std::vector<int> choices(const RootLines& set, int margin, int draws = 2000) {
  std::vector<int> counts(set.count, 0);
  for (int i = 0; i < draws; i++) counts[choose_line(set, margin)]++;
  return counts;
}

}  // namespace

TEST(Strength, LevelsWeakenSteadilyAndTheTopIsFullStrength) {
  StrengthPlan top = strength_plan(kTopElo);
  EXPECT_EQ(top.nodes_per_second, 0);
  EXPECT_EQ(top.lines, 1);
  EXPECT_EQ(top.margin, 0);
  EXPECT_EQ(strength_plan(99999).nodes_per_second, 0);
  double previousRate = 1e18;
  int previousMargin = 0;
  for (int elo = kTopElo - 50; elo >= kBottomElo; elo -= 50) {
    StrengthPlan plan = strength_plan(elo);
    EXPECT_GT(plan.nodes_per_second, 0) << elo;
    EXPECT_LT(plan.nodes_per_second, previousRate) << elo;
    EXPECT_GE(plan.margin, previousMargin) << elo;
    previousRate = plan.nodes_per_second;
    previousMargin = plan.margin;
  }
  // The bottom gets alternatives to choose from; below it, the bottom.
  StrengthPlan bottom = strength_plan(kBottomElo);
  EXPECT_GT(bottom.lines, 1);
  EXPECT_GT(bottom.margin, 0);
  EXPECT_EQ(strength_plan(-5).nodes_per_second, bottom.nodes_per_second);
}

TEST(Strength, ChoiceStaysWithinTheMarginAndAwayFromMates) {
  // Close second line: chosen now and then; a line beyond the margin never.
  std::vector<int> counts = choices(lines_scored({50, 40, -300}), 60);
  EXPECT_GT(counts[0], counts[1]);
  EXPECT_GT(counts[1], 0);
  EXPECT_EQ(counts[2], 0);
  // No margin, or only one line: always the best.
  EXPECT_EQ(choices(lines_scored({50, 49}), 0)[1], 0);
  EXPECT_EQ(choices(lines_scored({50}), 100)[0], 2000);
  // A mate in hand is played; a line that gets mated is never chosen.
  EXPECT_EQ(choices(lines_scored({29995, 200, 150}), 300)[0], 2000);
  EXPECT_EQ(choices(lines_scored({-29990, -29992}), 300)[0], 2000);
  EXPECT_EQ(choices(lines_scored({-100, -29990}), 300)[1], 0);
}
