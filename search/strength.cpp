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

// The levels as calibrated against Stockfish's UCI_Elo at 10 s + 0.1 s: the
// node rate (on the machine of the calibration, where full speed is about
// two million nodes a second) and the choice margin at each anchor; a level
// between two anchors gets the geometric mean of their rates and the linear
// mean of their margins. Each halving of the rate costs more as the search
// gets shallow, hence the uneven steps.
struct Anchor {
  int elo;
  double nodes_per_second;
  int margin;
};
constexpr Anchor kAnchors[] = {
    {kBottomElo, 6000, 120}, {1400, 8000, 110},    {1600, 20000, 100},
    {1800, 200000, 60},      {2000, 700000, 0},    {kTopElo, 2000000, 0},
};
constexpr int kAnchorCount = sizeof kAnchors / sizeof kAnchors[0];
static_assert(kAnchors[0].elo == kBottomElo && kAnchors[kAnchorCount - 1].elo == kTopElo,
              "the anchors span the level range");
// Four lines give a level with a margin its alternatives.
constexpr int kChoiceLines = 4;
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
  int i = 0;
  while (kAnchors[i + 1].elo <= elo) i++;
  const Anchor& low = kAnchors[i];
  const Anchor& high = kAnchors[i + 1];
  double t = static_cast<double>(elo - low.elo) / (high.elo - low.elo);
  plan.nodes_per_second =
      low.nodes_per_second * std::pow(high.nodes_per_second / low.nodes_per_second, t);
  plan.margin = static_cast<int>(low.margin + (high.margin - low.margin) * t + 0.5);
  plan.lines = plan.margin > 0 ? kChoiceLines : 1;
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
