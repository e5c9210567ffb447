// Material classes and recognised endings. The rule positions come from
// endgame theory (and were confirmed with an independent engine): each draw
// the recogniser claims is a real draw, and its near misses are not claimed.
#include <gtest/gtest.h>

#include "eval/endgame.h"
#include "eval/material.h"
#include "eval_test_util.h"

using namespace torvek;

TEST(MaterialClass, ExactSetsAndTheirFlags) {
  struct Case {
    const char* fen;
    int code;
    int flags;
  } cases[] = {
      {"8/8/8/8/8/8/8/K6k w - - 0 1", kKvK, kDrawishClass},
      {"8/8/8/8/8/8/8/KB5k w - - 0 1", kKBvK, kDrawishClass},
      {"8/8/8/8/8/8/8/K5nk w - - 0 1", kKvKN, kDrawishClass},
      {"8/8/8/8/8/8/P7/K6k w - - 0 1", kKPvK, kDrawishClass},
      {"8/8/8/8/8/8/8/KBN4k w - - 0 1", kKBNvK, 0},
      {"8/8/8/8/8/8/8/KBB4k w - - 0 1", kKBBvK, 0},
      {"8/8/8/8/8/8/P7/KBB4k w - - 0 1", kBishopsPawnW, 0},
      {"7k/6q1/8/8/8/8/8/KQ6 w - - 0 1", kKQvKQ, 0},
      {"7k/6rn/8/8/8/8/8/KR6 w - - 0 1", kKRvKRN, 0},
      {"7k/6b1/8/8/8/8/8/KB6 w - - 0 1", kKBvKB, kDrawishClass | kOppositeBishops},
      {"7k/6b1/8/8/8/8/PP6/KB6 w - - 0 1", kNoClass, kOppositeBishops},
      {"7k/6pb/8/8/8/8/8/KB6 w - - 0 1", kKBvKBP, kOppositeBishops},
      {"7k/7p/8/8/8/8/8/KN6 w - - 0 1", kKNvKP, 0},
      {"7k/8/8/8/8/8/NP6/K7 w - - 0 1", kKNPvK, 0},
      {"7k/7r/8/8/8/8/RP6/K7 w - - 0 1", kKRPvKR, 0},
      {"7k/7n/8/8/8/8/8/KN6 w - - 0 1", kKNvKN, 0},
  };
  static Board b;
  for (const Case& c : cases) {
    eval_board(c.fen, b);
    const MaterialInfo& m = material_probe(b);
    EXPECT_EQ(m.endgame_code, c.code) << c.fen;
    EXPECT_EQ(m.flags, c.flags) << c.fen;
  }
}

TEST(MaterialClass, SideFlags) {
  static Board b;
  eval_board("7k/8/8/8/8/8/8/KNN5 w - - 0 1", b);  // two knights cannot mate
  EXPECT_TRUE(material_probe(b).white_flags & kCannotWin);
  eval_board("7k/7p/8/8/8/8/8/KNN5 w - - 0 1", b);  // ... unless the king has a pawn
  EXPECT_FALSE(material_probe(b).white_flags & kCannotWin);
  eval_board("7k/8/8/8/8/8/8/K1n5 w - - 0 1", b);  // a lone minor
  EXPECT_TRUE(material_probe(b).black_flags & kCannotWin);
  eval_board("rn1qkbnr/8/8/8/8/8/8/4K3 w - - 0 1", b);  // White's king faces queen and more
  EXPECT_TRUE(material_probe(b).white_flags & kKingSafety);
  EXPECT_FALSE(material_probe(b).black_flags & kKingSafety);
}

TEST(Recogniser, KbnMateDrivesToTheBishopsCorner) {
  // Dark bishop, Black's king in a1 (dark corner), White's king two squares
  // away, knight on e4 four squares away: 500 - 0 - 4 / 2 - 2 + 100.
  EXPECT_EQ(white_eval_of("8/8/8/8/4N3/8/2K4B/k7 b - - 0 1"), 596);
  EXPECT_EQ(eval_of("8/8/8/8/4N3/8/2K4B/k7 b - - 0 1"), -596);
  // In the light corner h1 the dark-square corner nearest is a1 or h8.
  EXPECT_LT(white_eval_of("8/8/8/8/4N3/8/5K1B/7k b - - 0 1"), 596 - 50);
  // Black has the pieces: the score turns.
  EXPECT_EQ(white_eval_of("K7/2k4b/8/4n3/8/8/8/8 w - - 0 1"), -596);
}

TEST(Recogniser, FixedScoresAndBounds) {
  EXPECT_EQ(white_eval_of("7k/6r1/8/8/8/8/8/KRN5 w - - 0 1"), 16);  // KRN v KR
  EXPECT_EQ(white_eval_of("7k/6r1/8/8/8/8/8/KRN5 b - - 0 1"), 16);
  EXPECT_EQ(white_eval_of("7K/6R1/8/8/8/8/8/krb5 w - - 0 1"), -16);  // KR v KRB
  // KQN v KQ with the defending king central: 32; in a corner: a real score.
  EXPECT_EQ(white_eval_of("8/8/8/3k4/8/8/q7/KQN5 w - - 0 1"), 32);
  EXPECT_NE(white_eval_of("7k/8/8/8/8/8/q7/KQN5 w - - 0 1"), 32);
  // Two bishops on one colour cannot mate; on both colours they can.
  EXPECT_EQ(white_eval_of("7k/8/8/8/8/8/8/KB1B4 w - - 0 1"), 0);
  EXPECT_GT(white_eval_of("7k/8/8/8/8/8/8/KBB5 w - - 0 1"), 300);
}

TEST(Recogniser, TheoryDraws) {
  struct Case {
    const char* fen;
    bool draw;
  } cases[] = {
      // Bishop and wrong rook's pawn: the king in the corner holds.
      {"k7/8/8/PK6/3B4/8/8/8 w - - 0 1", true},
      {"k7/8/8/PK6/8/7B/8/8 w - - 0 1", false},  // the right bishop wins
      {"8/8/8/8/3b4/8/pk6/7K b - - 0 1", false},  // black's dark bishop covers a1
      {"8/8/8/8/4b3/6k1/p7/1K6 w - - 0 1", true},  // white's king on b1 beside a1, light bishop
      // Two bishops of one colour and a rook's pawn: the same.
      {"k7/8/8/P7/8/2K1B3/8/2B5 w - - 0 1", true},
      {"k7/8/8/P7/8/2K1B3/8/3B4 w - - 0 1", false},
      // Knight and rook's pawn on the 7th, the king beside the corner.
      {"8/Pk6/3K4/8/2N5/8/8/8 w - - 0 1", true},
      {"8/Pk6/3K4/2N5/8/8/8/8 b - - 0 1", true},
      {"1k6/P7/8/1N6/2K5/8/8/8 b - - 0 1", true},
      {"8/P7/3K4/2N5/8/8/8/6k1 w - - 0 1", false},
      // Rook against a pawn on the 7th escorted by its king, the rook on the
      // last rank, its king far: the rook must give itself up.
      {"7r/1KP5/8/8/8/4k3/8/8 b - - 0 1", true},
      {"7r/1KP5/8/8/8/4k3/8/8 w - - 0 1", true},
      {"8/1KP5/8/7k/8/8/8/7r w - - 0 1", false},  // the rook cannot stop the pawn
      {"8/8/2K5/8/8/8/5pk1/R7 b - - 0 1", true},   // black pawn: the same, mirrored
      // Queen against a bishop's pawn on the 7th: the stalemate defence.
      {"8/2PK4/8/8/8/6k1/7q/8 w - - 0 1", true},
      {"8/2PK4/8/8/6k1/8/7q/8 w - - 0 1", true},
      {"8/2PK4/8/8/6k1/8/1q6/8 w - - 0 1", false},  // a b-file queen: the king must be farther
      {"1K6/P7/8/8/8/8/7q/6k1 w - - 0 1", true},    // rook's pawn, king in front of the corner
      // Rook and pawn against rook: the king in front of the pawn.
      {"8/4k3/8/r7/4P3/3K4/8/7R w - - 0 1", true},
      {"4k3/7r/8/8/3KP3/8/8/R7 w - - 0 1", false},  // back rank: Ra8+ and Ra7+ win
      // Minor against pawn: the piece holds the pawn's path.
      {"8/8/8/1B6/8/4p3/8/K6k w - - 0 1", true},
      {"8/8/8/8/8/4p3/8/K3N2k w - - 0 1", true},
      {"7k/8/8/8/8/8/p7/K2N4 w - - 0 1", false},   // knight short of a rook's pawn
  };
  static Board b;
  // A rook standing on the queening square blocks the pawn: the rule does
  // not apply (and must answer at once: this once looped for seconds).
  eval_board("2r5/1KP5/8/8/8/4k3/8/8 b - - 0 1", b);
  EXPECT_FALSE(rook_v_pawn_draw(b, kWhite));
  eval_board("8/8/8/8/8/4K3/1kp5/2R5 w - - 0 1", b);
  EXPECT_FALSE(rook_v_pawn_draw(b, kBlack));
  for (const Case& c : cases) {
    eval_board(c.fen, b);
    int s = evalu8(b, -30000, 30000);
    if (c.draw)
      EXPECT_EQ(s, 0) << c.fen;
    else
      EXPECT_NE(s, 0) << c.fen;
  }
}

TEST(Recogniser, RecognisedDrawsForTheSearch) {
  struct Case {
    const char* fen;
    bool draw;
  } cases[] = {
      {"8/8/8/8/8/8/8/K6k w - - 0 1", true},
      {"8/8/8/8/8/8/8/KN5k b - - 0 1", true},
      {"7k/6b1/8/8/8/8/8/KB6 w - - 0 1", true},    // bishops on different colours
      {"7k/5b2/8/8/8/8/8/KB6 w - - 0 1", false},   // on the same colour
      {"k7/8/8/PK6/3B4/8/8/8 w - - 0 1", true},    // wrong rook's pawn
      {"k7/8/8/PK6/8/7B/8/8 w - - 0 1", false},
      {"7k/8/8/8/8/8/8/KNN5 w - - 0 1", false},    // not a drawish class
      {"8/8/8/8/8/8/1r5k/KR6 w - - 0 1", false},
  };
  static Board b;
  for (const Case& c : cases) {
    eval_board(c.fen, b);
    EXPECT_EQ(is_recognized_draw(b), c.draw) << c.fen;
  }
}
