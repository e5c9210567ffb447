// The evaluation as a whole: the start position cancels out, a position and
// its colour mirror score the same for the side to move (over a few hundred
// positions from real games and random continuations of them), draw values
// reach each side as its own, the opposite-bishop division, the phase clamp
// and the lazy exit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "board/make.h"
#include "board/movegen.h"
#include "board/movetext.h"
#include "eval/eval_terms.h"
#include "eval/material.h"
#include "eval_test_util.h"

using namespace torvek;

namespace {

// The EPD collections live outside the repository; absent, the test skips.
std::vector<std::string> epd_positions() {
  namespace fs = std::filesystem;
  fs::path here = fs::path(__FILE__).parent_path();
  const fs::path dirs[] = {"/work/shared/data/epd", here / "../../../shared/data/epd"};
  std::vector<std::string> fens;
  for (const fs::path& dir : dirs) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) continue;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
      if (entry.path().extension() != ".epd") continue;
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line)) {
        // Placement, side, castling, en passant: the operations follow.
        size_t pos = 0;
        for (int field = 0; field < 4 && pos != std::string::npos; field++) pos = line.find(' ', pos + 1);
        if (pos != std::string::npos) fens.push_back(line.substr(0, pos));
      }
    }
    if (!fens.empty()) break;
  }
  return fens;
}

std::string fen_of(const Board& b) {
  std::string s;
  write_fen(b, s);
  return s;
}

// Every position of short random continuations from each EPD position.
std::vector<std::string> varied_positions(int movesPerGame) {
  std::vector<std::string> out;
  std::mt19937 rng(20240611);
  static Board b;
  for (const std::string& start : epd_positions()) {
    SetupFEN(b, start.c_str());
    out.push_back(fen_of(b));
    for (int ply = 0; ply < movesPerGame; ply++) {
      MoveList list;
      list.count = 0;
      gen_legal(b, list);
      if (list.count == 0) break;
      UndoInfo undo;
      make_move(b, list.moves[rng() % list.count], undo);
      out.push_back(fen_of(b));
    }
  }
  return out;
}

int patterns_on(const Board& b) {
  int op = 0, eg = 0;
  return add_piece_patterns(b, op, eg);
}

}  // namespace

TEST(Evaluation, StartPositionIsZero) {
  EXPECT_EQ(eval_of(kStartFen), 0);
  EXPECT_EQ(eval_of("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"), 0);
}

TEST(Evaluation, ColourMirrorScoresTheSameForTheSideToMove) {
  std::vector<std::string> fens = varied_positions(std::getenv("TORVEK_SANITIZE") &&
                                                           std::string(std::getenv("TORVEK_SANITIZE")) == "1"
                                                       ? 3
                                                       : 10);
  if (fens.empty()) GTEST_SKIP() << "no EPD files found";
  static Board a, m;
  int compared = 0;
  for (const std::string& fen : fens) {
    std::string mirrored = mirror_fen_rows(fen.c_str());
    eval_board(fen.c_str(), a);
    eval_board(mirrored.c_str(), m);
    if (patterns_on(a) || patterns_on(m)) continue;  // their scores differ by colour on purpose
    int sa = (set_draw_scores(a.side), evalu8(a, -30000, 30000));
    int sm = (set_draw_scores(m.side), evalu8(m, -30000, 30000));
    EXPECT_EQ(sa, sm) << fen << " / " << mirrored;
    compared++;
  }
  EXPECT_GT(compared, static_cast<int>(fens.size()) / 2);
  RecordProperty("compared", compared);
}

TEST(Evaluation, DrawValuesReachEachSideAsItsOwn) {
  struct Case {
    const char* fen;
    int ownDraw;  // for the side to move, when it is the root side
  } cases[] = {
      {"8/8/8/8/8/8/8/K6k w - - 0 1", -1},            // bare kings
      {"8/8/8/8/8/8/8/K6k b - - 0 1", -1},
      {"3qk3/8/8/8/8/8/8/3QK3 w - - 0 1", -1},        // KQ v KQ
      {"3qk3/8/8/8/8/8/8/3QK3 b - - 0 1", -1},
      {"r3k3/8/8/8/8/8/8/4K2R w - - 0 1", -1},        // KR v KR
      {"r3k3/8/8/8/8/8/8/4K2R b - - 0 1", -1},
  };
  static Board b;
  for (const Case& c : cases) {
    eval_board(c.fen, b);
    EXPECT_EQ(evalu8(b, -30000, 30000), c.ownDraw) << c.fen;
    set_draw_scores(b.side ^ 1);  // the opponent is the root side: it avoids the draw
    EXPECT_EQ(evalu8(b, -30000, 30000), -c.ownDraw) << c.fen;
  }
}

TEST(Evaluation, CannotWinBoundsWithTheDrawValueOfTheSideToMove) {
  // A lone bishop against a pawn whose path it does not watch is ahead in
  // material but cannot win: its score is cut to the draw value of the side
  // to move, which that side sees as its own (-1) whichever colour it has.
  static Board b;
  for (const char* fen : {"4k3/p7/8/8/8/8/8/4K2B w - - 0 1", "4k3/p7/8/8/8/8/8/4K2B b - - 0 1"}) {
    eval_board(fen, b);
    EXPECT_EQ(evalu8(b, -30000, 30000), -1) << fen;
  }
}

TEST(Evaluation, OppositeBishopsDivideByFive) {
  // One bishop each on squares of different colours and a pawn more.
  const char* fen = "4k3/1p3b2/8/8/4P3/2B5/1PP5/4K3 w - - 0 1";
  static Board b;
  eval_board(fen, b);
  int divided = evalu8(b, -30000, 30000);
  // The same position with the flag taken out of its cached entry.
  MaterialInfo& entry = material_table[static_cast<uint32_t>(b.materialKey) & (kMaterialTableSize - 1)];
  ASSERT_TRUE(entry.flags & kOppositeBishops);
  entry.flags &= ~kOppositeBishops;
  int full = evalu8(b, -30000, 30000);
  entry.stored = 0;  // recompute next time
  EXPECT_NE(full, 0);
  EXPECT_EQ(divided, full / 5);

  // Bishops on one colour: no division, even with the flag.
  eval_board("4k3/1p6/4b3/8/4P3/2B5/1PP5/4K3 w - - 0 1", b);
  const MaterialInfo& same = material_probe(b);
  EXPECT_TRUE(same.flags & kOppositeBishops);
}

TEST(Evaluation, PhaseIsClampedAndScaled) {
  struct Case {
    MaterialCounts counts;
    int phase;
  } cases[] = {
      {{{8, 8}, {2, 2}, {2, 2}, {2, 2}, {1, 1}}, 0},      // all pieces
      {{{0, 0}, {2, 2}, {2, 2}, {2, 2}, {3, 3}}, 0},      // promoted queens: raw phase negative
      {{{5, 5}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}, 256},    // pawns only
      {{{0, 0}, {0, 0}, {0, 0}, {1, 1}, {0, 0}}, 213},    // a rook each: (256 * 20 + 12) / 24
  };
  for (const Case& c : cases) {
    MaterialInfo info{};
    evaluate_material(c.counts, info);
    EXPECT_EQ(info.phase, c.phase);
  }
}

TEST(Evaluation, MaterialAdjustments) {
  struct Case {
    MaterialCounts counts;
    int score;
  } cases[] = {
      // Bishop pair against knight and bishop: +50, but two bishops cannot
      // be expected to win against a bishop: a fifth.
      {{{0, 0}, {0, 1}, {2, 1}, {0, 0}, {0, 0}}, 10},
      // The pair with pawns on: the full 50.
      {{{1, 1}, {0, 1}, {2, 1}, {0, 0}, {0, 0}}, 50},
      // A knight for two pawns: the knight side gets 80 on top.
      {{{3, 1}, {0, 1}, {0, 0}, {1, 1}, {0, 0}}, 200 - 325 - 80},
      // Ahead by a rook with pawns and three pieces: trading bonus
      // 5*4 + 10*(6-1-1) - 22*1 - 14*2 = 10 on top of 500.
      {{{4, 4}, {1, 1}, {1, 1}, {2, 1}, {1, 1}}, 510},
      // A pawn up with few pieces: 5 x (pieces 1 - pawns 3) = -10 on top.
      {{{3, 2}, {0, 0}, {0, 0}, {1, 1}, {0, 0}}, 90},
      // A rook against a minor without pawns: a fifth of the lead.
      {{{0, 0}, {0, 1}, {0, 0}, {1, 0}, {0, 0}}, 35},
  };
  for (const Case& c : cases) {
    MaterialInfo info{};
    evaluate_material(c.counts, info);
    EXPECT_EQ(info.material_opening, c.score);
    EXPECT_EQ(info.material_endgame, c.score);
  }
}

TEST(Evaluation, LazyExitOutsideTheWindow) {
  static Board b;
  // A queen up with enough pieces on: far above a window around 0.
  eval_board("r1b1kb1r/pppp1ppp/2n2n2/4p3/4P3/2N2N2/PPPP1PPP/R1BQKB1R w KQkq - 0 1", b);
  int full = evalu8(b, -30000, 30000);
  int lazy = evalu8(b, -50, 50);
  EXPECT_GT(full, 700);
  EXPECT_GT(lazy, 250);
  b.LazyEval = false;
  EXPECT_EQ(evalu8(b, -50, 50), full);
  b.LazyEval = true;
  b.lazy_null = true;
  EXPECT_EQ(evalu8(b, -30000, 30000), lazy);
}
