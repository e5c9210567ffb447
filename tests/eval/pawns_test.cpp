// Pawn structure and passed pawns, against values worked out by hand from
// the chess rules each term encodes.
#include <gtest/gtest.h>

#include "eval/pawns.h"
#include "eval_test_util.h"

using namespace torvek;

TEST(PawnStructure, HandWorkedCases) {
  struct Case {
    const char* fen;
    int opening, endgame;
    int whitePassers, blackPassers;
  } cases[] = {
      // a2 and a3 alone: a3 doubled (-10/-20), both isolated (a2 closed -10,
      // a3 open -20; -20 endgame each); a3 is passed.
      {"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", -40, -60, 0x01, 0},
      // d3 backward and open (e4 beside it ahead, e5 guards d4): -16/-10;
      // black's e5 isolated behind e4: -10/-20 for black.
      {"4k3/8/8/4p3/4P3/3P4/8/4K3 w - - 0 1", -16 + 10, -10 + 20, 0, 0},
      // d5 a candidate on rank 5 (+20/+40: helper e4, sentry c7 balance);
      // e4 passed; black's c7 isolated and open (-20/-20).
      {"4k3/2p5/8/3P4/4P3/8/8/4K3 w - - 0 1", 20 + 20, 40 + 20, 0x10, 0},
      // No pawns at all: nothing, no passers.
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", 0, 0, 0, 0},
  };
  static Board b;
  for (const Case& c : cases) {
    eval_board(c.fen, b);
    PawnInfo info{};
    pawn_structure(b, info);
    EXPECT_EQ(info.pawn_opening, c.opening) << c.fen;
    EXPECT_EQ(info.pawn_endgame, c.endgame) << c.fen;
    EXPECT_EQ(info.white_passers, c.whitePassers) << c.fen;
    EXPECT_EQ(info.black_passers, c.blackPassers) << c.fen;
  }
}

TEST(PawnStructure, CandidateBonusGrowsWithTheRank) {
  // A lone candidate on file d with a helper on e behind it and one sentry on
  // c far ahead; only the candidate's rank changes (black's c-pawn and the
  // helper keep their own terms, cancelled by the reference row).
  const char* fens[] = {"4k3/2p5/8/8/3P4/4P3/8/4K3 w - - 0 1", "4k3/2p5/8/3P4/4P3/8/8/4K3 w - - 0 1",
                        "4k3/2p5/3P4/4P3/8/8/8/4K3 w - - 0 1"};
  const int expected[3][2] = {{10, 20}, {20, 40}, {35, 70}};
  static Board b;
  for (int i = 0; i < 3; i++) {
    eval_board(fens[i], b);
    PawnInfo info{};
    pawn_structure(b, info);
    // Black's c7: isolated and open, -20/-20 for black.
    EXPECT_EQ(info.pawn_opening, expected[i][0] + 20) << fens[i];
    EXPECT_EQ(info.pawn_endgame, expected[i][1] + 20) << fens[i];
  }
}

TEST(PawnStructure, FrontPawnOfASingleFile) {
  static Board b;
  eval_board("4k3/8/8/P7/8/P7/8/4K3 w - - 0 1", b);
  PawnInfo info{};
  pawn_structure(b, info);
  EXPECT_EQ(info.white_front, 32);  // a5 as seen from White
  eval_board("4k3/8/8/8/8/8/p7/4K3 b - - 0 1", b);
  pawn_structure(b, info);
  EXPECT_EQ(info.black_front, 48);  // a2 is Black's 7th rank: a7 from its side
  eval_board("4k3/8/8/8/8/P1P5/8/4K3 w - - 0 1", b);
  pawn_structure(b, info);
  EXPECT_EQ(info.white_front, 0);  // two files
}

TEST(PassedPawns, UnstoppablePawnAgainstABareKing) {
  static Board b;
  // e7 with Black's king on a1: the pawn outruns it. base 887, rank factor
  // 256: endgame 20 + 887 + 20 * d(a1, e8) - 5 * d(e1, e8) = 20 + 887 + 140 - 35.
  eval_board("8/4P3/8/8/8/8/8/k3K3 b - - 0 1", b);
  EXPECT_TRUE(queening_race(kWhite, b, b.pawnList[kWhite][0]));
  PawnInfo info{};
  pawn_structure(b, info);
  int op = 0, eg = 0;
  evalu8Passer(b, info, op, eg);
  EXPECT_EQ(op, 70);
  EXPECT_EQ(eg, 20 + 887 + 140 - 35);

  // With Black's king on d7 the promotion square is covered and the advance
  // loses the new queen: base 119, 20 + 119 + 20 * 1 - 5 * 7.
  eval_board("8/3kP3/8/8/8/8/8/4K3 w - - 0 1", b);
  EXPECT_FALSE(queening_race(kWhite, b, b.pawnList[kWhite][0]));
  pawn_structure(b, info);
  op = eg = 0;
  evalu8Passer(b, info, op, eg);
  EXPECT_EQ(eg, 20 + 119 + 20 - 35);
}

TEST(PassedPawns, QueeningRaceCountsTheDoubleStepAndTheMove) {
  struct Case {
    const char* fen;
    bool runs;
  } cases[] = {
      {"8/8/8/2P4k/8/8/8/K7 w - - 0 1", true},    // c5: 3 moves, king needs 5
      {"8/8/8/2P5/8/8/6k1/K7 b - - 0 1", true},   // 3 + 1 (Black moves) against 6
      {"8/8/4k3/2P5/8/8/8/K7 b - - 0 1", false},  // the king is 2 from c8
      {"8/8/8/8/8/8/P5k1/K7 w - - 0 1", true},    // a2 counts from a3: 5 against 6
      {"8/8/8/8/8/8/P4k2/K7 b - - 0 1", false},   // 5 + 1 against 6: a tie, own king farther
      {"2N5/2P5/8/8/8/8/8/k3K3 w - - 0 1", false}, // own knight in front
  };
  static Board b;
  for (const Case& c : cases) {
    eval_board(c.fen, b);
    EXPECT_EQ(queening_race(kWhite, b, b.pawnList[kWhite][0]), c.runs) << c.fen;
  }
}

TEST(PassedPawns, RaceModeWithTwoPassersAgainstALoneKnight) {
  // f6 and g6, Black's king on a8 far away, a lone knight: both passers get
  // g = 101, the pair puts 202 in the rank-6 sum, bonus 500 (divided by
  // max(1, 2 - 1)). Per pawn: opening 46; base 176 (free and safe stop, rank
  // 6 is past the 179 of lower ranks); f6: h = 176 + 20*5 - 5*6 = 246,
  // 20 + 246*154/256 = 168; g6: h = 176 + 20*6 - 5*6 = 266, 20 + 160 = 180.
  static Board b;
  eval_board("k7/8/5PP1/8/8/8/8/1n2K3 w - - 0 1", b);
  PawnInfo info{};
  pawn_structure(b, info);
  int op = 0, eg = 0;
  evalu8Passer(b, info, op, eg);
  EXPECT_EQ(op, 46 + 46 + 250);
  EXPECT_EQ(eg, 168 + 180 + 500);

  // A knight and a bishop left: no race mode, the bonus goes.
  eval_board("kb6/8/5PP1/8/8/8/8/1n2K3 w - - 0 1", b);
  pawn_structure(b, info);
  op = eg = 0;
  evalu8Passer(b, info, op, eg);
  EXPECT_EQ(op, 46 + 46);
}

TEST(PassedPawns, RaceModeMirrorsForBlack) {
  static Board w, k;
  eval_board("k7/8/5PP1/8/8/8/8/1n2K3 w - - 0 1", w);
  eval_board("4k1N1/8/8/8/8/5pp1/8/K7 b - - 0 1", k);
  PawnInfo wi{}, ki{};
  pawn_structure(w, wi);
  pawn_structure(k, ki);
  int wo = 0, we = 0, ko = 0, ke = 0;
  evalu8Passer(w, wi, wo, we);
  evalu8Passer(k, ki, ko, ke);
  EXPECT_EQ(ko, -wo);
  EXPECT_EQ(ke, -we);
}
