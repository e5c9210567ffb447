// The final answer of each protocol, written from a search result record and
// captured from standard output: "bestmove" with its ponder move in UCI, and
// in WinBoard the move, the hint and the game-end lines, whose order and
// colours the GUI reads. This program links no protocol module, so Print
// keeps the "info" lines that the WinBoard program would drop.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "board/board.h"
#include "board/fen.h"
#include "board/movetext.h"
#include "core/globals.h"
#include "protocol/uci_result.h"
#include "protocol/winboard_result.h"
#include "search/result.h"

using namespace torvek;

namespace {

// Moves of the start position by their text.
int move(const char* text) {
  static Board b;
  SetupFEN(b, kStartFen);
  return text_to_move(b, text);
}

SearchResult result(int score, std::initializer_list<const char*> pv) {
  SearchResult r;
  r.score = score;
  r.depth = 7;
  r.nodes = 1000;
  int i = 0;
  for (const char* m : pv) r.pv[i++] = static_cast<uint16_t>(move(m));
  r.pv[i] = 0;
  r.best_move = i > 0 ? r.pv[0] : 0;
  r.ponder_move = i > 1 ? r.pv[1] : 0;
  return r;
}

std::string uci_lines(const SearchResult& r) {
  testing::internal::CaptureStdout();
  report_result_uci(r);
  return testing::internal::GetCapturedStdout();
}

struct WinBoardAnswer {
  std::string out, move, hint;
  GameEnd end;
};

WinBoardAnswer winboard_lines(const SearchResult& r) {
  WinBoardAnswer a;
  a.move = a.hint = "stale";  // the texts handed back are always replaced
  testing::internal::CaptureStdout();
  a.end = report_result_winboard(r, a.move, a.hint);
  a.out = testing::internal::GetCapturedStdout();
  return a;
}

}  // namespace

TEST(UciResult, BestmoveWithAndWithoutPonderMoveAndWithoutAnyMove) {
  SearchResult r = result(25, {"e2e4", "e7e5"});
  r.hashfull = 12;
  r.fifty = 3;
  EXPECT_EQ(uci_lines(r),
            "info depth 7 score cp 25 nodes 1000 nps 0 time 0 pv e2e4 e7e5\n"
            "info hashfull 12\n"
            "bestmove e2e4 ponder e7e5\n"
            "DBU: 50cnt=3\n");

  r.ponder_move = 0;
  EXPECT_NE(uci_lines(r).find("\nbestmove e2e4\n"), std::string::npos);

  std::string out = uci_lines(result(-29999, {}));
  EXPECT_NE(out.find("info depth 7 score mate -1 nodes 1000 nps 0 time 0 pv \n"), std::string::npos)
      << out;
  EXPECT_NE(out.find("\nbestmove 0000\n"), std::string::npos) << out;
}

TEST(UciResult, QuietIsLiftedForTheAnswerOnly) {
  globals.quiet = true;
  std::string out = uci_lines(result(10, {"d2d4"}));
  EXPECT_TRUE(globals.quiet);
  globals.quiet = false;
  EXPECT_EQ(out,
            "info string not quiet anymore\nbestmove d2d4\nDBU: 50cnt=0\n"
            "info string quiet now\n");
}

TEST(WinBoardResult, MoveHintAndNoGameEnd) {
  SearchResult r = result(25, {"e2e4", "e7e5"});
  r.fifty = 3;
  WinBoardAnswer a = winboard_lines(r);
  EXPECT_EQ(a.out, "7 25 0 1000 e2e4 e7e5\nmove e2e4\nHint: e7e5\nDBW: 50cnt=3\n");
  EXPECT_EQ(a.end, GameEnd::kNone);
  EXPECT_EQ(a.move, "e2e4");
  EXPECT_EQ(a.hint, "e7e5");

  r.ponder_move = 0;
  a = winboard_lines(r);
  EXPECT_EQ(a.out, "7 25 0 1000 e2e4 e7e5\nmove e2e4\nDBW: 50cnt=3\n");
  EXPECT_EQ(a.hint, "");

  // xboard reads the thinking line's time in centiseconds.
  r.elapsed_ms = 12349;
  a = winboard_lines(r);
  EXPECT_EQ(a.out.substr(0, a.out.find('\n')), "7 25 1234 1000 e2e4 e7e5");
}

// The winner is named by colour: the side the engine played decides it.
TEST(WinBoardResult, GameEndLinesByColourAndCause) {
  struct Case {
    const char* name;
    int score, side;
    bool noLegalMove, inCheck, drawByRule;
    int fifty;
    std::initializer_list<const char*> pv;
    const char* lines;  // after the thinking line
    GameEnd end;
  };
  const Case cases[] = {
      {"white mated", -29999, kWhite, true, true, false, 0, {}, "0-1 {Black mates}\n",
       GameEnd::kMate},
      {"black mated", -29999, kBlack, true, true, false, 0, {}, "1-0 {White mates}\n",
       GameEnd::kMate},
      {"stalemate", 0, kBlack, true, false, false, 0, {}, "1/2-1/2 {Stalemate}\n", GameEnd::kMate},
      {"white mates in one", 29999, kWhite, false, false, false, 0, {"e2e4"},
       "move e2e4\nDBW: 50cnt=0\n1-0 {White mates}\n", GameEnd::kMate},
      {"black mates in one", 29999, kBlack, false, false, false, 0, {"e2e4"},
       "move e2e4\nDBW: 50cnt=0\n0-1 {Black mates}\n", GameEnd::kMate},
      // Mated in one with a move left: the engine plays it and goes on.
      {"mated in one", -29998, kWhite, false, false, false, 0, {"e2e4"},
       "move e2e4\nDBW: 50cnt=0\n", GameEnd::kNone},
      // The claim comes before the move, in the position the GUI reached.
      {"fifty moves", 0, kWhite, false, false, true, 100, {"e2e4"},
       "1/2-1/2 {Draw by 50-move rule}\nmove e2e4\nDBW: 50cnt=100\n", GameEnd::kDraw},
      {"repetition", 0, kBlack, false, false, true, 8, {"e2e4"},
       "1/2-1/2 {Draw by repetition}\nmove e2e4\nDBW: 50cnt=8\n", GameEnd::kDraw},
  };
  for (const Case& c : cases) {
    SearchResult r = result(c.score, c.pv);
    r.depth = 1;
    r.nodes = 0;
    r.side = c.side;
    r.no_legal_move = c.noLegalMove;
    r.in_check = c.inCheck;
    r.draw_by_rule = c.drawByRule;
    r.fifty = c.fifty;
    WinBoardAnswer a = winboard_lines(r);
    std::string thinking = "1 " + std::to_string(c.score) + " 0 0 " +
                           (r.best_move ? "e2e4" : "") + "\n";
    EXPECT_EQ(a.out, thinking + c.lines) << c.name;
    EXPECT_EQ(a.end, c.end) << c.name;
    EXPECT_EQ(a.move, r.best_move ? "e2e4" : "") << c.name;
  }
}

TEST(WinBoardResult, QuietIsLiftedForTheMoveOnly) {
  globals.quiet = true;
  WinBoardAnswer a = winboard_lines(result(10, {"d2d4", "d7d5"}));
  EXPECT_TRUE(globals.quiet);
  globals.quiet = false;
  EXPECT_EQ(a.out,
            "info string not quiet anymore\nmove d2d4\nHint: d7d5\n"
            "info string quiet now\n");
}
