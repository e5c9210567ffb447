// The result record a search hands back: the move to ponder on only where
// the variation belongs to the move played, and the facts about the root
// position (no legal move, check, a draw by rule) after real searches.
#include <gtest/gtest.h>

#include <initializer_list>

#include "board/board.h"
#include "board/fen.h"
#include "board/make.h"
#include "board/movetext.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/fixed_depth.h"
#include "search/report.h"
#include "search/result.h"
#include "search/tt.h"

using namespace torvek;

namespace {

class ResultTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    globals.quiet = true;
    if (!transpositionTable.allocated()) transpositionTable.allocate(16);
    ensure_first_time_setup();
    globals.quiet = true;
  }
  static void TearDownTestSuite() { globals.quiet = false; }
  void SetUp() override { transpositionTable.clear(); }

  SearchResult search(const char* fen, int depth) {
    SetupFEN(topBoard, fen);
    int score = run_fixed_depth_search(depth);
    return search_result(searchContext, score);
  }
  // topBoard after the moves given as text from the start position.
  void play(std::initializer_list<const char*> moves) {
    SetupFEN(topBoard, kStartFen);
    for (const char* text : moves) {
      UndoInfo undo;
      make_move(topBoard, text_to_move(topBoard, text), undo);
    }
  }
};

}  // namespace

TEST_F(ResultTest, PonderMoveOnlyFromTheVariationOfTheMovePlayed) {
  SearchContext& sc = searchContext;
  SetupFEN(sc.search_board, kStartFen);
  const Board& b = sc.search_board;
  int e2e4 = text_to_move(b, "e2e4"), d2d4 = text_to_move(b, "d2d4");
  int e7e5 = text_to_move(b, "e7e5");
  struct Case {
    int best, pv0, pv1, ponder;
  };
  const Case cases[] = {
      {e2e4, e2e4, e7e5, e7e5},
      {e2e4, e2e4, 0, 0},
      {e2e4, e2e4, MoveNull, 0},  // a null move in the variation is no reply
      {e2e4, d2d4, e7e5, 0},      // the variation of another move
      {0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    sc.best_move = c.best;
    sc.root_pv[0] = static_cast<uint16_t>(c.pv0);
    sc.root_pv[1] = static_cast<uint16_t>(c.pv1);
    sc.root_pv[2] = 0;
    SearchResult r = search_result(sc, 0);
    EXPECT_EQ(r.ponder_move, c.ponder) << c.pv0 << " " << c.pv1;
    EXPECT_EQ(r.best_move, c.best);
    EXPECT_EQ(r.pv[0], c.pv0);
  }
}

TEST_F(ResultTest, RootsWithoutALegalMove) {
  SearchResult mated = search("R5k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", 3);
  EXPECT_TRUE(mated.no_legal_move);
  EXPECT_TRUE(mated.in_check);
  EXPECT_EQ(mated.best_move, 0);
  EXPECT_EQ(mated.score, -29999);
  EXPECT_EQ(mated.side, kBlack);

  SearchResult stalemate = search("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 3);
  EXPECT_TRUE(stalemate.no_legal_move);
  EXPECT_FALSE(stalemate.in_check);
  EXPECT_EQ(stalemate.score, 0);
}

TEST_F(ResultTest, MateInOneIsNoGameEndBeforeTheMove) {
  SearchResult r = search("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", 3);
  EXPECT_EQ(move_text(r.best_move), "a1a8");
  EXPECT_EQ(r.score, 29999);
  EXPECT_FALSE(r.no_legal_move || r.in_check || r.draw_by_rule);
  EXPECT_EQ(r.side, kWhite);
}

TEST_F(ResultTest, DrawsByRuleInTheRootPosition) {
  SearchResult fifty = search("4k3/8/8/8/8/8/3R4/4K3 w - - 100 80", 2);
  EXPECT_TRUE(fifty.draw_by_rule);
  EXPECT_EQ(fifty.fifty, 100);
  SearchResult fresh = search("4k3/8/8/8/8/8/3R4/4K3 w - - 99 80", 2);
  EXPECT_FALSE(fresh.draw_by_rule);

  // The third time the start position stands on the board.
  play({"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8"});
  SearchResult repeated = search_result(searchContext, run_fixed_depth_search(2));
  EXPECT_TRUE(repeated.draw_by_rule);
  EXPECT_EQ(repeated.fifty, 8);
  play({"g1f3", "g8f6", "f3g1", "f6g8"});
  EXPECT_FALSE(search_result(searchContext, run_fixed_depth_search(2)).draw_by_rule);
}
