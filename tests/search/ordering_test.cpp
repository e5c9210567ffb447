// Move ordering: scores and the good-capture test on hand-made cases, the
// killer and history updates with their halving, the stable sort, and the
// pickers checked against the legal-move list over many positions: every
// legal move exactly once, in the stage order, under-promotions last and
// never in quiescence.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "board/attack.h"
#include "board/board.h"
#include "board/fen.h"
#include "board/make.h"
#include "board/movegen.h"
#include "board/movetext.h"
#include "search/ordering.h"
#include "search/picker.h"
#include "search_test_util.h"

using namespace torvek;

namespace {

// Two boards in turn, so that a test may hold two positions at once.
Board& board_of(const char* fen) {
  static Board boards[2];
  static int next = 0;
  Board& b = boards[next];
  next ^= 1;
  SetupFEN(b, fen);
  reset_ordering_tables(b);
  return b;
}

int mv(const Board& b, const char* text) {
  int m = text_to_move(b, text);
  EXPECT_NE(m, MoveNone) << text;
  return m;
}

}  // namespace

TEST(OrderingScores, CaptureScoreTable) {
  // White pawn d4 can take a queen on e5, white queen h1 a pawn on h7,
  // b7 promotes on b8 or takes the rook on a8, e5 takes f6 en passant.
  Board& b = board_of("r3k3/1P5p/8/3pPp2/3P4/8/8/4K2Q w - f6 0 1");
  Board& q = board_of("r3k3/1P5p/8/4qp2/3P4/8/8/4K2Q w - - 0 1");
  struct Case {
    Board* board;
    const char* move;
    int score;
  };
  const Case cases[] = {
      {&q, "d4e5", 29},   // PxQ
      {&q, "h1h7", 1},    // QxP
      {&b, "e5f6", 5},    // en passant
      {&b, "b7b8q", -1},  // promotions without capture: new piece type - 5
      {&b, "b7b8r", -2},
      {&b, "b7b8b", -3},
      {&b, "b7b8n", -4},
      {&b, "b7a8q", 23},  // a capturing promotion scores as PxR
      {&b, "b7a8n", 23},
  };
  for (const Case& c : cases) {
    int m = mv(*c.board, c.move);
    EXPECT_EQ(capture_score(*c.board, m), c.score) << c.move;
  }
  EXPECT_FALSE(good_capture(b, mv(b, "b7a8n")));  // under-promotions never are
  EXPECT_TRUE(good_capture(b, mv(b, "b7a8q")));
  EXPECT_TRUE(good_capture(b, mv(b, "e5f6")));
}

TEST(OrderingScores, GoodCaptureFollowsValuesThenExchange) {
  struct Case {
    const char* fen;
    const char* move;
    bool good;
  };
  const Case cases[] = {
      // Rook takes a pawn defended by a pawn: loses the exchange.
      {"4k3/8/2p5/3p4/8/8/8/3RK3 w - - 0 1", "d1d5", false},
      // Same pawn undefended: wins a pawn.
      {"4k3/8/8/3p4/8/8/8/3RK3 w - - 0 1", "d1d5", true},
      // Knight takes a defended bishop: equal values are good.
      {"4k3/8/2p5/3b4/8/4N3/8/4K3 w - - 0 1", "e3d5", true},
      // Bishop takes a defended knight: 325 < 335, the exchange decides.
      {"4k3/8/2p5/3n4/8/5B2/8/4K3 w - - 0 1", "f3d5", false},
      // Queen promotion onto a defended square: the exchange loses.
      {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8q", false},
      {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7a8q", true},
  };
  for (const Case& c : cases) {
    Board& b = board_of(c.fen);
    EXPECT_EQ(good_capture(b, mv(b, c.move)), c.good) << c.fen << " " << c.move;
  }
}

TEST(OrderingScores, ListScoreRanksHashKillersHistoryAndLosingCaptures) {
  Board& b = board_of("4k3/8/2p5/3p4/8/8/4P3/3RK3 w - - 0 1");
  int hash = mv(b, "e2e3"), k1 = mv(b, "e2e4"), k2 = mv(b, "d1d2"), quiet = mv(b, "d1c1");
  int losing = mv(b, "d1d5");
  b.killers[3][0] = static_cast<uint16_t>(k1);
  b.killers[3][1] = static_cast<uint16_t>(k2);
  b.historyScaled[history_index(b, quiet)] = 100;
  EXPECT_EQ(list_score(b, hash, 3, hash), 32766);
  EXPECT_EQ(list_score(b, k1, 3, hash), 4);
  EXPECT_EQ(list_score(b, k2, 3, hash), 3);
  EXPECT_EQ(list_score(b, quiet, 3, hash), 100 - 24000);
  EXPECT_EQ(list_score(b, k1, 4, hash), -24000);  // killers belong to their ply
  EXPECT_EQ(list_score(b, losing, 3, hash), capture_score(b, losing) - 28000);
}

TEST(OrderingTables, KillersShiftOnlyForANewQuietMove) {
  Board& b = board_of("4k3/8/8/3p4/8/8/4P3/3RK3 w - - 0 1");
  int a = mv(b, "e2e3"), c = mv(b, "e2e4"), capture = mv(b, "d1d5");
  update_on_best(a, b, 2, 5);
  update_on_best(c, b, 2, 5);
  EXPECT_EQ(b.killers[5][0], c);
  EXPECT_EQ(b.killers[5][1], a);
  update_on_best(c, b, 2, 5);
  EXPECT_EQ(b.killers[5][0], c);
  EXPECT_EQ(b.killers[5][1], a);
  update_on_best(capture, b, 2, 5);  // captures leave killers and history alone
  EXPECT_EQ(b.killers[5][0], c);
  EXPECT_EQ(b.historyScaled[history_index(b, capture)], 0);
  EXPECT_EQ(b.historyScaled[history_index(b, c)], 8);  // 2 x 2, twice
}

TEST(OrderingTables, HistoryHalvesEverythingWhenOneEntryReachesTheLimit) {
  Board& b = board_of("4k3/8/8/8/8/8/4P3/3RK3 w - - 0 1");
  int m = mv(b, "e2e4"), other = mv(b, "d1d4");
  b.historyScaled[history_index(b, m)] = 16384 - 9;
  b.historyScaled[history_index(b, other)] = 5;
  update_on_best(m, b, 3, 0);  // + 9 reaches 16384
  EXPECT_EQ(b.historyScaled[history_index(b, m)], 8192);
  EXPECT_EQ(b.historyScaled[history_index(b, other)], 3);  // rounds up
  b.historyScaled[history_index(b, m)] = 16384 - 10;
  update_on_best(m, b, 3, 0);
  EXPECT_EQ(b.historyScaled[history_index(b, m)], 16383);
}

TEST(OrderingTables, TriedAndGoodCountersHalveTogether) {
  Board& b = board_of("4k3/8/8/8/8/8/4P3/3RK3 w - - 0 1");
  int m = mv(b, "e2e4");
  int i = history_index(b, m);
  EXPECT_EQ(b.historyTried[i], 1);
  EXPECT_EQ(b.historyGood[i], 1);
  count_tried(m, b);
  count_good(m, b);
  EXPECT_EQ(b.historyTried[i], 3);
  EXPECT_EQ(b.historyGood[i], 2);
  b.historyTried[i] = 16383;
  b.historyGood[i] = 101;
  count_tried(m, b);  // 16384 exceeds the limit
  EXPECT_EQ(b.historyTried[i], 8192);
  EXPECT_EQ(b.historyGood[i], 51);
  b.historyTried[i] = 16383;
  count_good(m, b);
  EXPECT_EQ(b.historyTried[i], 8192);
  EXPECT_EQ(b.historyGood[i], 26);
}

TEST(OrderingSort, StableAndDescending) {
  MoveList list;
  const int values[] = {5, -3, 5, 100, -24000, 5, 32766, -3};
  list.count = 0;
  for (int v : values) {
    list.moves[list.count] = static_cast<uint16_t>(list.count + 1);
    list.values[list.count++] = static_cast<uint16_t>(v);
  }
  sort(list);
  const int order[] = {7, 4, 1, 3, 6, 2, 8, 5};
  for (int i = 0; i < list.count; i++) EXPECT_EQ(list.moves[i], order[i]) << i;
}

namespace {

enum Stage { kHashStage, kGoodCaptures, kKillers, kQuiets, kDeferred };

// Runs the full-search picker and checks the stage order of what it hands
// out against the legal moves of the position.
void check_full_picker(Board& b, const std::string& fen) {
  MoveList legal;
  legal.count = 0;
  gen_legal(b, legal);
  std::vector<int> quiets;
  for (int i = 0; i < legal.count; i++)
    if (!is_tactical(b, legal.moves[i])) quiets.push_back(legal.moves[i]);
  // Hash move: the last legal move; killers: two quiet moves and a move of
  // another position that must be ignored.
  int hash = legal.count ? legal.moves[legal.count - 1] : 0;
  int ply = 7;
  b.killers[ply][0] = quiets.size() > 1 ? static_cast<uint16_t>(quiets[quiets.size() / 2]) : 0;
  b.killers[ply][1] = quiets.size() > 2 ? static_cast<uint16_t>(quiets[0])
                                        : static_cast<uint16_t>(make_move_word(0, 63));
  for (size_t i = 0; i < quiets.size(); i++)
    b.historyScaled[history_index(b, quiets[i])] = static_cast<uint16_t>((i * 37) % 11);

  Checkers checkers;
  gen_checkers(b, checkers);
  MovePicker p;
  genm_init(ply, b, p, checkers, 256, hash);
  std::vector<int> got;
  for (int m; (m = next_move(b, p)) != 0;) got.push_back(m);

  std::multiset<int> expected(legal.moves, legal.moves + legal.count);
  std::multiset<int> returned(got.begin(), got.end());
  ASSERT_EQ(returned, expected) << fen;
  if (checkers.count) {
    EXPECT_EQ(evasion_count(p), legal.count) << fen;
    if (!got.empty()) {
      EXPECT_EQ(got[0], hash) << fen;
    }
    return;
  }
  int stage = kHashStage, lastScore = 1 << 20;
  for (size_t i = 0; i < got.size(); i++) {
    int m = got[i];
    int s, score;
    if (m == hash) {
      EXPECT_EQ(i, 0u) << fen;
      continue;
    }
    if (is_tactical(b, m)) {
      s = good_capture(b, m) ? kGoodCaptures : kDeferred;
      score = capture_score(b, m);
    } else if (m == b.killers[ply][0] || m == b.killers[ply][1]) {
      s = kKillers;
      score = m == b.killers[ply][0] ? 2 : 1;
    } else {
      s = kQuiets;
      score = b.historyScaled[history_index(b, m)];
    }
    if (is_under_promotion(m)) {
      EXPECT_EQ(s, kDeferred) << fen;
    }
    ASSERT_GE(s, stage) << fen << " move " << i;
    if (s != stage) lastScore = 1 << 20;
    stage = s;
    EXPECT_LE(score, lastScore) << fen << " move " << i;
    lastScore = score;
  }
}

void check_qs_picker(Board& b, const std::string& fen) {
  MoveList legal;
  legal.count = 0;
  gen_legal(b, legal);
  Checkers checkers;
  gen_checkers(b, checkers);
  for (bool withChecks : {false, true}) {
    std::multiset<int> expected;
    for (int i = 0; i < legal.count; i++) {
      int m = legal.moves[i];
      if (checkers.count) {
        expected.insert(m);
      } else if (is_tactical(b, m)) {
        if (good_capture(b, m)) expected.insert(m);
      } else if (withChecks && gives_check(b, m) && see(b, m) >= 0) {
        expected.insert(m);
      }
    }
    QsPicker p;
    qs_init(b, p, checkers, withChecks);
    std::multiset<int> returned;
    for (int m; (m = next_qs_move(b, p)) != 0;) {
      returned.insert(m);
      if (!checkers.count) {
        EXPECT_FALSE(is_under_promotion(m)) << fen;
      }
    }
    EXPECT_EQ(returned, expected) << fen << (withChecks ? " with checks" : "");
  }
}

}  // namespace

TEST(Picker, HashMoveThatIsAlsoAKillerComesOnce) {
  Board& b = board_of("4k3/8/8/3p4/8/8/4P3/3RK3 w - - 0 1");
  int m = mv(b, "e2e4");
  b.killers[2][0] = static_cast<uint16_t>(m);
  Checkers checkers;
  gen_checkers(b, checkers);
  MovePicker p;
  genm_init(2, b, p, checkers, 128, m);
  int seen = 0, first = next_move(b, p);
  EXPECT_EQ(first, m);
  for (int x = first; x != 0; x = next_move(b, p)) seen += x == m;
  EXPECT_EQ(seen, 1);
}

TEST(Picker, QuietMoveNeverSeenHasFullRatio) {
  Board& b = board_of("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
  Checkers checkers;
  gen_checkers(b, checkers);
  MovePicker p;
  genm_init(0, b, p, checkers, 128, 0);
  int m = next_move(b, p);
  ASSERT_NE(m, 0);
  EXPECT_EQ(p.history_ratio, 16384);
  int i = history_index(b, m);
  b.historyTried[i] = 4;
  b.historyGood[i] = 1;
  genm_init(0, b, p, checkers, 128, 0);
  EXPECT_EQ(next_move(b, p), m);
  EXPECT_EQ(p.history_ratio, 4096);
}

TEST(Picker, LosingCapturesComeAfterAllQuietMoves) {
  Board& b = board_of("4k3/8/2p5/3p4/8/8/8/3RK3 w - - 0 1");
  int losing = mv(b, "d1d5");
  Checkers checkers;
  gen_checkers(b, checkers);
  MovePicker p;
  genm_init(0, b, p, checkers, 128, 0);
  std::vector<int> got;
  for (int m; (m = next_move(b, p)) != 0;) got.push_back(m);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back(), losing);
}

TEST(Picker, StagesAgreeWithTheLegalMovesEverywhere) {
  std::vector<std::string> fens = test_positions();
  size_t limit = sanitized_build() ? 30 : fens.size();
  static Board b;
  int checked = 0;
  for (size_t n = 0; n < fens.size() && n < limit; n++) {
    SetupFEN(b, fens[n].c_str());
    reset_ordering_tables(b);
    check_full_picker(b, fens[n]);
    check_qs_picker(b, fens[n]);
    // And every position one move further.
    MoveList legal;
    legal.count = 0;
    gen_legal(b, legal);
    for (int i = 0; i < legal.count; i++) {
      UndoInfo undo;
      make_move(b, legal.moves[i], undo);
      std::string child = fens[n] + " +" + std::to_string(i);
      check_full_picker(b, child);
      check_qs_picker(b, child);
      unmake_move(b, legal.moves[i], undo);
      checked++;
    }
  }
  EXPECT_GT(checked, 100);
}
