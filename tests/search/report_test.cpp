// Search reporting (UCI program): mate distances, the score-change flags
// that time management reads, and the final answer lines, captured from
// standard output.
#include <gtest/gtest.h>

#include <string>

#include "board/fen.h"
#include "board/movetext.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/report.h"

using namespace torvek;

namespace {

std::string capture(void (*fn)(int), int score) {
  testing::internal::CaptureStdout();
  fn(score);
  return testing::internal::GetCapturedStdout();
}

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

TEST(Report, BestmoveWithPonderMoveNullMoveAndNoMove) {
  SearchContext& sc = searchContext;
  static Board b;
  SetupFEN(b, kStartFen);
  sc.search_board = b;
  sc.iteration = 7;
  int e2e4 = text_to_move(b, "e2e4"), e7e5 = text_to_move(b, "e7e5");
  sc.best_move = e2e4;
  set_pv({e2e4, e7e5});
  std::string out = capture(report_result_uci, 25);
  EXPECT_NE(out.find("info depth 7 score cp 25 nodes"), std::string::npos) << out;
  EXPECT_NE(out.find("bestmove e2e4 ponder e7e5\n"), std::string::npos) << out;
  EXPECT_NE(out.find("DBU: 50cnt=0\n"), std::string::npos) << out;

  set_pv({e2e4, MoveNull});
  out = capture(report_result_uci, 25);
  EXPECT_NE(out.find("bestmove e2e4\n"), std::string::npos) << out;

  sc.best_move = 0;
  set_pv({});
  out = capture(report_result_uci, -29999);
  EXPECT_NE(out.find("score mate -1"), std::string::npos) << out;
  EXPECT_NE(out.find("bestmove 0000\n"), std::string::npos) << out;
}

TEST(Report, QuietIsLiftedForTheAnswerOnly) {
  SearchContext& sc = searchContext;
  static Board b;
  SetupFEN(b, kStartFen);
  sc.search_board = b;
  sc.best_move = text_to_move(b, "d2d4");
  set_pv({sc.best_move});
  globals.quiet = true;
  std::string out = capture(report_result_uci, 10);
  EXPECT_TRUE(globals.quiet);
  globals.quiet = false;
  EXPECT_EQ(out.find("info depth"), std::string::npos);
  EXPECT_NE(out.find("info string not quiet anymore\nbestmove d2d4\nDBU: 50cnt=0\n"
                     "info string quiet now\n"),
            std::string::npos)
      << out;
}
