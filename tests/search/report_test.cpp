// Search reporting (UCI program): mate distances, the score-change flags
// that time management reads, and the lines of a new best move, captured
// from standard output. The final answers are the protocols' and are tested
// in tests/protocol.
#include <gtest/gtest.h>

#include <string>

#include "board/fen.h"
#include "board/movetext.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/report.h"

using namespace torvek;

namespace {

void set_pv(std::initializer_list<int> moves) {
  int i = 0;
  for (int m : moves) searchContext.root_pv[i++] = static_cast<uint16_t>(m);
  searchContext.root_pv[i] = 0;
  searchContext.root_pv[i + 1] = 0;
}

}  // namespace

TEST(Report, MateDistanceInMoves) {
  const int cases[][2] = {{29999, 1}, {29998, 1}, {29997, 2}, {29601, 200}, {29600, 0},
                          {0, 0},     {-29600, 0}, {-29998, -1}, {-29999, -1}, {-29996, -2},
                          {-29601, -199}};
  for (auto& c : cases) EXPECT_EQ(mate_distance(c[0]), c[1]) << c[0];
}

TEST(Report, ScoreChangeFlagsAgainstThePreviousIteration) {
  SearchContext& sc = searchContext;
  struct Case {
    int prev, score;
    bool jumped, dropped, collapsed;
  };
  const Case cases[] = {
      {100, 30, false, true, false},   // 70 below
      {100, 31, false, false, false},
      {100, -40, false, true, true},   // 140 below
      {100, 426, true, false, false},  // 326 above
      {100, 425, false, false, false},
  };
  globals.quiet = true;
  for (const Case& c : cases) {
    sc.prev_score = c.prev;
    sc.score_jumped = sc.score_dropped = sc.score_collapsed = false;
    set_pv({});
    report_new_best(5, c.score);
    EXPECT_EQ(sc.score_jumped, c.jumped) << c.score;
    EXPECT_EQ(sc.score_dropped, c.dropped) << c.score;
    EXPECT_EQ(sc.score_collapsed, c.collapsed) << c.score;
  }
  globals.quiet = false;
}

TEST(Report, NewBestLinesOnlyForMatesBeforeIterationNine) {
  SearchContext& sc = searchContext;
  static Board b;
  SetupFEN(b, kStartFen);
  int e2e4 = text_to_move(b, "e2e4");
  sc.best_move = e2e4;
  set_pv({e2e4});
  sc.prev_score = 0;
  testing::internal::CaptureStdout();
  report_new_best(5, 30);
  report_new_best(5, 29997);
  report_new_best(9, 30);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.find("info depth 5 score cp"), std::string::npos);
  EXPECT_NE(out.find("info depth 5 score mate 2 nodes"), std::string::npos) << out;
  EXPECT_NE(out.find("info depth 9 score cp 30 nodes"), std::string::npos) << out;
  EXPECT_NE(out.find(" pv e2e4\n"), std::string::npos) << out;
}
