// The ray look-ups against the walk they replace: from every square of a
// few crowded and sparse positions, along every slider step, ray_end and
// the forward empty run must stop on the square the walk stops on (a man or
// the border, short diagonals included).
#include <gtest/gtest.h>

#include "board/attack.h"
#include "board/attackers.h"
#include "board/lines.h"
#include "board_test_util.h"

using namespace torvek;
using testing_util::board_from;

TEST(Lines, RayEndStopsWhereTheWalkStops) {
  const int kSteps[8] = {-17, -16, -15, -1, 1, 15, 16, 17};
  for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
                          "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                          "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", "7k/8/8/8/8/8/8/K7 w - -"}) {
    auto b = board_from(fen);
    for (int sq64 = 0; sq64 < 64; sq64++)
      for (int step : kSteps) {
        int from = square64ToBoard[sq64], walk = from + step;
        while (b->squares[walk] == kEmpty) walk += step;
        ASSERT_EQ(ray_end(*b, from, step), walk) << fen << " square " << sq64 << " step " << step;
        int forward, back;
        empty_runs(*b, from, step, forward, back);
        ASSERT_EQ(from + step * (forward + 1), walk) << fen << " square " << sq64 << " step " << step;
      }
  }
}

// The attackers found from the target's side against the walk over the
// piece list: every square, both sides, kings and knights at the edges; and
// the quick test never says no where a piece attacks.
TEST(Lines, PieceAttackersMatchTheListWalk) {
  for (const char* fen : {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                          "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", "N6k/2n5/8/3QK3/8/8/1q6/n6B w - -"}) {
    auto b = board_from(fen);
    for (int sq64 = 0; sq64 < 64; sq64++)
      for (int side : {kWhite, kBlack}) {
        int target = square64ToBoard[sq64];
        unsigned walk = 0;
        for (int i = 0; b->pieceList[side][i]; i++) {
          int from = b->pieceList[side][i], code = b->squares[from];
          if ((code & attack_mask(target - from)) &&
              nothing_between(*b, code, from, target, step_of(target - from)))
            walk |= 1u << i;
        }
        ASSERT_EQ(piece_attackers(*b, side, target), walk) << fen << " square " << sq64 << " side " << side;
        if (walk) {
          ASSERT_TRUE(pieces_may_attack(*b, side, target)) << fen << " square " << sq64;
        }
      }
  }
}
