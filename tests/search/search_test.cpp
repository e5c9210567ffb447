// The whole search through Root: mate scores and their distances, the mate
// and single-reply breaks, stalemate roots, legality of every answer over
// many positions (also when stopped by a node limit), the untouched root
// board, determinism, a forged table move, and a table of tactics solved at
// modest fixed depths.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "board/attack.h"
#include "board/board.h"
#include "board/fen.h"
#include "board/make.h"
#include "board/movegen.h"
#include "board/movetext.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/move_check.h"
#include "search/report.h"
#include "search/root.h"
#include "search/search.h"
#include "search/tt.h"
#include "search_test_util.h"
#include "search/fixed_depth.h"

using namespace torvek;

namespace {

// Every field that describes the position, byte for byte: the mailbox, the
// lists up to their terminators (slots beyond them are free), counts, files,
// rights, scores, keys and the key history below histCount. The evaluation
// weights and the ordering tables a search renews on purpose.
bool same_position(const Board& a, const Board& b) {
#define SAME(field) (std::memcmp(&a.field, &b.field, sizeof a.field) == 0)
  bool same = SAME(squares) && SAME(listIndex) && SAME(pawnCount) && SAME(pieceCount) &&
              SAME(menCount) && SAME(typeCount) && SAME(pawnFiles) && SAME(side) &&
              SAME(castle) && SAME(epSquare) && SAME(fifty) && SAME(histCount) &&
              SAME(pst_opening) && SAME(pst_endgame) && SAME(hashKey) && SAME(pawnKey) &&
              SAME(materialKey);
#undef SAME
  if (!same) return false;
  for (int s = 0; s < 2; s++) {
    if (std::memcmp(a.pawnList[s], b.pawnList[s], sizeof(int) * (a.pawnCount[s] + 1)) ||
        std::memcmp(a.pieceList[s], b.pieceList[s], sizeof(int) * (a.pieceCount[s] + 1)))
      return false;
  }
  return std::memcmp(a.keyHistory, b.keyHistory, sizeof(uint64_t) * a.histCount) == 0;
}

class SearchTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    globals.quiet = true;
    if (!transpositionTable.allocated()) transpositionTable.allocate(16);
    ensure_first_time_setup();
    globals.quiet = true;
  }
  static void TearDownTestSuite() { globals.quiet = false; }
  void SetUp() override { transpositionTable.clear(); }

  // Sets up topBoard and searches it to `depth`; returns the score.
  int search(const char* fen, int depth) {
    SetupFEN(topBoard, fen);
    return run_fixed_depth_search(depth);
  }
  std::string best() { return move_text(searchContext.best_move); }
  bool best_is_legal() { return is_legal_move(topBoard, searchContext.best_move); }
};

}  // namespace

TEST_F(SearchTest, MateInOneScoresMateOne) {
  int v = search("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", 6);
  EXPECT_EQ(v, 29999);
  EXPECT_EQ(best(), "a1a8");
  EXPECT_EQ(mate_distance(v), 1);
  // Mate found: the search stops after iteration 2 x 1 + 1 at the latest.
  EXPECT_LE(searchContext.depth_reached, 3);
}

TEST_F(SearchTest, MatedInOneScoresMinusMateOne) {
  int v = search("6k1/8/8/8/8/1r6/r7/7K w - - 0 1", 6);
  EXPECT_EQ(v, -29998);
  EXPECT_EQ(mate_distance(v), -1);
  EXPECT_EQ(best(), "h1g1");
}

TEST_F(SearchTest, MateInTwoEndsAfterIterationFive) {
  // Nf6+ gxf6 Bxf7 mate.
  int v = search("r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1", 20);
  EXPECT_EQ(v, 29997);
  EXPECT_EQ(best(), "d5f6");
  EXPECT_EQ(searchContext.depth_reached, 5);
}

TEST_F(SearchTest, StalemateRootHasNoMoveAndScoresZero) {
  int v = search("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 5);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(searchContext.best_move, 0);
  EXPECT_EQ(best(), "0000");
}

TEST_F(SearchTest, CheckmatedRootScoresMinusMate) {
  int v = search("R5k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", 5);
  EXPECT_EQ(v, -29999);
  EXPECT_EQ(mate_distance(v), -1);
  EXPECT_EQ(searchContext.best_move, 0);
}

TEST_F(SearchTest, SingleReplyBreaksAfterIterationThree) {
  // The king in check has one square.
  search("r6k/8/8/4b3/8/8/8/K7 w - - 0 1", 30);
  EXPECT_EQ(best(), "a1b1");
  EXPECT_EQ(searchContext.depth_reached, 4);
}

TEST_F(SearchTest, DepthLimitCompletesExactlyThatIteration) {
  search("r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 5);
  EXPECT_EQ(searchContext.depth_reached, 5);
  EXPECT_TRUE(best_is_legal());
}

TEST_F(SearchTest, RootBoardAndSearchBoardComeBackUnchanged) {
  static Board before;
  SetupFEN(topBoard, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
  before = topBoard;
  run_fixed_depth_search(5);
  EXPECT_EQ(std::memcmp(&before, &topBoard, sizeof(Board)), 0);
  EXPECT_TRUE(same_position(before, searchContext.search_board));
  // Also after a search stopped in the middle of the tree.
  SearchContext& sc = searchContext;
  sc.limits = SearchLimits();
  sc.limits.depth_limit = 50;
  reset_search();
  sc.limits.node_limit = 3000;
  Root(&topBoard);
  EXPECT_TRUE(same_position(before, searchContext.search_board));
  EXPECT_TRUE(best_is_legal());
  EXPECT_EQ(std::memcmp(&before, &topBoard, sizeof(Board)), 0);
}

// The benchmark and the suites run after protocol searches: whatever limits
// the last one left (a node budget, a move time, a mate search), the
// fixed-depth search runs exactly to its depth. (A stale "ponder" or
// "infinite" would be caught too, but as a search that never ends.)
TEST_F(SearchTest, FixedDepthSearchIgnoresTheLimitsOfTheLastSearch) {
  const char* fen = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3";
  search(fen, 4);
  double nodes = searchContext.nodes;
  SearchLimits& stale = searchContext.limits;
  stale.node_limit = 1;
  stale.move_time = 1;
  stale.mate_limit = 5;
  transpositionTable.clear();
  search(fen, 4);
  EXPECT_EQ(searchContext.depth_reached, 4);
  EXPECT_EQ(searchContext.nodes, nodes);
}

TEST_F(SearchTest, SameSearchGivesSameNodesAndMove) {
  const char* fen = "r1b2rk1/ppppqppp/1b3n2/1B2p1Q1/4P3/2PPB3/PP3PPP/RN3RK1 b - - 0 1";
  search(fen, sanitized_build() ? 4 : 7);
  double nodes = searchContext.nodes;
  int move = searchContext.best_move;
  transpositionTable.clear();
  search(fen, sanitized_build() ? 4 : 7);
  EXPECT_EQ(searchContext.nodes, nodes);
  EXPECT_EQ(searchContext.best_move, move);
}

TEST_F(SearchTest, AnswersAreLegalEverywhere) {
  std::vector<std::string> fens = test_positions();
  static Board b;
  int searched = 0;
  int budget = sanitized_build() ? 40 : 400;
  for (size_t n = 0; n < fens.size() && searched < budget; n++) {
    SetupFEN(b, fens[n].c_str());
    MoveList legal;
    legal.count = 0;
    gen_legal(b, legal);
    // The position itself and a spread of its children.
    for (int i = -1; i < legal.count && searched < budget; i += 3) {
      topBoard = b;
      UndoInfo undo;
      if (i >= 0) make_move(topBoard, legal.moves[i], undo);
      std::string where = fens[n] + (i >= 0 ? " after " + move_text(legal.moves[i]) : "");
      static Board snapshot;
      snapshot = topBoard;
      run_fixed_depth_search(3);
      searched++;
      MoveList answers;
      answers.count = 0;
      gen_legal(topBoard, answers);
      bool found = answers.count == 0 && searchContext.best_move == 0;
      for (int k = 0; k < answers.count; k++) found |= answers.moves[k] == searchContext.best_move;
      EXPECT_TRUE(found) << where << " answered " << best();
      EXPECT_TRUE(same_position(snapshot, searchContext.search_board)) << where;
    }
  }
  EXPECT_GE(searched, sanitized_build() ? 40 : 300);
}

TEST_F(SearchTest, NodeLimitedSearchesStopAndAnswerLegally) {
  SearchContext& sc = searchContext;
  std::vector<std::string> fens = test_positions();
  for (size_t n = 0; n < fens.size() && n < 12; n++) {
    SetupFEN(topBoard, fens[n].c_str());
    sc.limits = SearchLimits();
    reset_search();
    // The first poll comes after 10000 nodes, later ones every 100 nodes
    // while no speed is known yet.
    sc.limits.node_limit = 10000 + 337 * n;
    Root(&topBoard);
    EXPECT_LT(sc.nodes, sc.limits.node_limit + 150) << fens[n];
    EXPECT_TRUE(best_is_legal()) << fens[n];
  }
  sc.limits.node_limit = 0;
}

TEST_F(SearchTest, ForgedTableMoveIsNeverPlayed) {
  const char* fen = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3";
  SetupFEN(topBoard, fen);
  struct Forgery {
    const char* text;
    int move;
  };
  const Forgery forged[] = {
      {"from an empty square", make_move_word(27, 35)},                       // d4d5
      {"an enemy pawn", make_move_word(51, 43)},                              // d7d6
      {"the opponent's knight", make_move_word(42, 27)},                      // c6d4
      {"onto an own man", make_move_word(3, 11)},                             // d1d2
      {"a blocked slider", make_move_word(3, 39)},                            // d1h5 over the f3 knight
      {"castling through a bishop", make_move_word(4, 6, kKindCastle)},      // f1 occupied
      {"a promotion by a knight", make_move_word(21, 38, kKindPromotion, 3)}, // f3g5=Q
      {"en passant without square", make_move_word(28, 37, kKindEnPassant)},  // e4f5
      {"a pawn moving backwards", make_move_word(28, 20)},                    // e4e3
      {"a pawn capturing nothing", make_move_word(28, 35)},                   // e4d5
      {"the null move", MoveNull},
  };
  for (const Forgery& f : forged) {
    EXPECT_FALSE(is_move_playable(topBoard, f.move)) << f.text;
    // Plant the move under this position's key (and its children's, where
    // a search would look) and search: it must not be played.
    transpositionTable.clear();
    transpositionTable.store(key_low(topBoard.hashKey), key_high(topBoard.hashKey), f.move, 50,
                             kNoLowerBound, kNoUpperBound);
    MoveList legal;
    legal.count = 0;
    gen_legal(topBoard, legal);
    for (int i = 0; i < legal.count; i++) {
      UndoInfo undo;
      make_move(topBoard, legal.moves[i], undo);
      transpositionTable.store(key_low(topBoard.hashKey), key_high(topBoard.hashKey), f.move, 50,
                               kNoLowerBound, kNoUpperBound);
      unmake_move(topBoard, legal.moves[i], undo);
    }
    run_fixed_depth_search(4);
    EXPECT_TRUE(best_is_legal()) << f.text;
  }
}

TEST(MoveCheck, AgreesWithTheGeneratorsForEveryMoveWord) {
  std::vector<std::string> fens = test_positions();
  size_t limit = sanitized_build() ? 4 : fens.size();
  static Board b;
  for (size_t n = 0; n < fens.size() && n < limit; n++) {
    SetupFEN(b, fens[n].c_str());
    MoveList pseudo;
    pseudo.count = 0;
    gen_all_pseudo(b, pseudo);
    bool check = in_check(b);
    static bool listed[65536];
    std::memset(listed, 0, sizeof listed);
    for (int i = 0; i < pseudo.count; i++)
      if (!(check && move_kind(pseudo.moves[i]) == kKindCastle)) listed[pseudo.moves[i]] = true;
    for (int m = 0; m < 65536; m++)
      ASSERT_EQ(is_move_pseudo_legal(b, m), listed[m]) << fens[n] << " move " << m;
  }
}

// Well-known combinations at modest depths. The zugzwang is the kind of
// position where an unverified null move sees a fail high that is not there.
TEST_F(SearchTest, TacticsAreFound) {
  struct Case {
    const char* what;
    const char* fen;
    int depth;
    const char* move;
  };
  const Case cases[] = {
      {"back-rank mate", "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", 3, "d1d8"},
      {"mate in 2", "r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1", 4,
       "d5f6"},
      {"mate in 3", "r5rk/5p1p/5R2/4B3/8/8/7P/7K w - - 0 1", 6, "f6a6"},
      {"knight fork", "2q1k3/8/8/1N6/8/8/4P3/4K3 w - - 0 1", 4, "b5d6"},
      {"promotion race", "8/8/8/P6p/8/8/5k2/K7 w - - 0 1", 6, "a5a6"},
      {"zugzwang", "8/8/p1p5/1p5p/1P5p/8/PPP2K1p/4R1rk w - - 0 1", 8, "e1f1"},
  };
  for (const Case& c : cases) {
    if (sanitized_build() && c.depth > 6) continue;
    search(c.fen, c.depth);
    EXPECT_EQ(best(), c.move) << c.what;
  }
}
