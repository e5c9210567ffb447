// Static exchange values written as sums of piece values, and the killer
// test, which must never accept a capture, a promotion or en passant.
#include <gtest/gtest.h>

#include "board/attack.h"
#include "board_test_util.h"

using namespace torvek;
using namespace torvek::testing_util;

namespace {

constexpr int P = 100, N = 325, B = 335, R = 500, Q = 1000, K = 10000;

int move_of(const Board& b, const char* text) { return text_to_move(b, text); }

}  // namespace

TEST(Exchange, SeeTable) {
  struct Case {
    const char* fen;
    const char* move;
    int value;
  } cases[] = {
      {"4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1", "e4d5", P},                       // free pawn
      {"4k3/2p5/3p4/8/8/8/3Q4/4K3 w - - 0 1", "d2d6", P - Q},                 // defended pawn
      {"4k3/8/1n6/3p4/8/8/8/3RK3 w - - 0 1", "d1d5", P - R},                  // defended by a knight
      {"4k3/8/4p3/3n4/4P3/8/8/4K3 w - - 0 1", "e4d5", N - P},                 // pawn takes knight
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "e1e2", 0},                          // no capture, safe
      {"4k3/8/8/8/8/p7/8/1N2K3 w - - 0 1", "b1d2", 0},                      // quiet, not attacked
      {"4k3/8/8/8/8/2p5/8/1N5K w - - 0 1", "b1d2", -N},                     // attacked by a pawn
      {"4k3/8/8/8/8/2p5/8/1N2K3 w - - 0 1", "b1d2", -N + P},                // ... the king takes back
      {"1k1r4/1pp4p/p7/4p3/8/P5P1/1PP4P/2K1R3 w - - 0 1", "e1e5", P},          // undefended
      {"1k1r3q/1ppn3p/p4b2/4p3/8/P2N2P1/1PP1R1BP/2K1Q3 w - - 0 1", "d3e5", P - N},  // x-rays both ways
      {"4k3/8/8/3r4/8/8/3R4/3RK3 w - - 0 1", "d2d5", R},                    // doubled rooks
      {"4k3/8/4b3/3r4/8/8/3R4/4K3 w - - 0 1", "d2d5", R - R},               // defended rook
      {"4k3/8/4b3/3r4/8/8/3R4/3QK3 w - - 0 1", "d2d5", R - R + B},          // the queen behind
      {"3rk3/8/8/3r4/8/8/3R4/4K3 w - - 0 1", "d2d5", R - R},                // defended by x-ray
      {"4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7b8q", Q - P},                  // promotion
      {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8q", R + Q - P},             // promotes with capture
      {"1rr1k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8q", R + Q - P - Q},        // taken back by the rook
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6", P},                     // en passant
      {"4k3/8/2p5/3p4/4K3/8/8/8 w - - 0 1", "e4d5", P - K},                 // king into defence
  };
  for (const auto& c : cases) {
    auto b = board_from(c.fen);
    EXPECT_EQ(see(*b, move_of(*b, c.move)), c.value) << c.fen << " " << c.move;
  }
}

TEST(Exchange, KillerTestAcceptsOnlyQuietPseudoLegalMoves) {
  struct Case {
    const char* fen;
    const char* move;
    bool ok;
  } cases[] = {
      {kStartFen, "g1f3", true},
      {kStartFen, "e2e4", true},
      {kStartFen, "e2e5", false},
      {kStartFen, "f1c4", false},  // blocked
      {kStartFen, "e7e5", false},  // not the side to move
      {"4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1", "e4d5", false},  // capture
      {"4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1", "e4e5", true},
      {"4k3/8/8/4p3/4P3/8/8/4K3 w - - 0 1", "e4e5", false},  // blocked pawn
      {"4k3/8/8/8/8/4p3/4P3/4K3 w - - 0 1", "e2e4", false},  // blocked double step
      {"4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7b8q", false},   // promotion
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6", false},  // en passant
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1", true},
      {"r3k2r/8/8/8/8/8/8/R3K2R w Qkq - 0 1", "e1g1", false},  // right gone
      {"r3k2r/8/8/8/8/8/5r2/R3K2R w KQkq - 0 1", "e1g1", false},  // f1 attacked
  };
  for (const auto& c : cases) {
    auto b = board_from(c.fen);
    EXPECT_EQ(is_killer_ok(*b, move_of(*b, c.move)), c.ok) << c.fen << " " << c.move;
  }
  auto b = board_from(kStartFen);
  EXPECT_FALSE(is_killer_ok(*b, MoveNone));
  EXPECT_FALSE(is_killer_ok(*b, MoveNull));
}
