#include "search/strength.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

#include "core/globals.h"
#include "search/hooks.h"
#include "search/lines.h"
#include "search/tt.h"

namespace torvek {

namespace {

// Full speed on the machine the levels were calibrated on, and the Elo
// that each halving of the node rate costs there.
constexpr double kFullRate = 2000000;
constexpr double kEloPerHalving = 150;
// The choice among lines starts below this level and widens towards the
// bottom; four lines give a weak level its alternatives.
constexpr int kChoiceElo = 2100;
constexpr int kChoiceLines = 4;
constexpr double kMarginPerElo = 0.2;
constexpr double kMaxSleepMs = 5;

std::mt19937& random_source() {
  static std::mt19937 source(static_cast<unsigned>(
      std::chrono::steady_clock::now().time_since_epoch().count()));
  return source;
}

}  // namespace

StrengthPlan strength_plan(int elo) {
  elo = std::clamp(elo, kBottomElo, kTopElo);
  StrengthPlan plan;
  if (elo >= kTopElo) return plan;
  plan.nodes_per_second = kFullRate * std::exp2((elo - kTopElo) / kEloPerHalving);
  if (elo < kChoiceElo) {
    plan.lines = kChoiceLines;
    plan.margin = static_cast<int>((kChoiceElo - elo) * kMarginPerElo);
  }
  return plan;
}

void throttle(SearchContext& sc) {
  const double rate = sc.nodes_per_second_limit;
  while (!globals.stopSearch) {
    double ahead_ms = sc.nodes * 1000.0 / rate - sc.elapsed_ms;
    if (ahead_ms <= 0) break;
    std::this_thread::sleep_for(
        std::chrono::duration<double, std::milli>(std::min(ahead_ms, kMaxSleepMs)));
    sc.refresh_elapsed();
    if (searchHooks.poll) searchHooks.poll();
  }
  // About two hundred polls a second at the allowed rate.
  sc.poll_countdown = std::max<int64_t>(16, static_cast<int64_t>(rate / 200));
}

int choose_line(const RootLines& set, int margin) {
  if (set.count < 2 || margin <= 0 || std::abs(set.lines[0].score) > kMateThreshold) return 0;
  std::uniform_int_distribution<int> share(0, margin);
  int chosen = 0, chosenValue = set.lines[0].score + share(random_source());
  for (int k = 1; k < set.count; k++) {
    int score = set.lines[k].score;
    if (score < -kMateThreshold || score < set.lines[0].score - margin) continue;
    int value = score + share(random_source());
    if (value > chosenValue) chosen = k, chosenValue = value;
  }
  return chosen;
}

}  // namespace torvek
