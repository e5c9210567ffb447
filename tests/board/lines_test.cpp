// The ray look-ups against the walk they replace: from every square of a
// few crowded and sparse positions, along every slider step, ray_end and
// the forward empty run must stop on the square the walk stops on (a man or
// the border, short diagonals included).
#include <gtest/gtest.h>

#include "board/attack.h"
#include "board/attackers.h"
#include "board/lines.h"
#include "board/make.h"
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

// Capture generation against the plain walk it replaced, move for move and
// in order (piece list, then step list, then pawns), in a few positions and
// every position one move from them.
namespace {

MoveList walked_captures(const Board& b) {
  MoveList list;
  list.count = 0;
  int s = b.side, enemy = colour_bit(s ^ 1), step = kPawnStepBySide[s];
  auto add = [&](int from, int to, int kind, int promo) {
    list.moves[list.count++] = static_cast<uint16_t>(
        make_move_word(boardToSquare64[from], boardToSquare64[to], kind, promo));
  };
  auto promotions = [&](int from, int to) {
    for (int promo : {kPromoQueen, kPromoKnight, kPromoRook, kPromoBishop}) add(from, to, kKindPromotion, promo);
  };
  for (const int* p = b.pieceList[s]; *p; p++) {
    int code = b.squares[*p];
    for (const int* d = stepListOfCode[code]; *d; d++) {
      int to = *p + *d;
      while ((code & (kBishop | kRook)) && b.squares[to] == kEmpty) to += *d;
      if (b.squares[to] & enemy) add(*p, to, kKindNormal, 0);
    }
  }
  for (const int* p = b.pawnList[s]; *p; p++) {
    bool promotes = (row_of(*p) ^ kRankFlipBySide[s]) == 10;
    for (int to : {*p + step - 1, *p + step + 1})
      if (b.squares[to] & enemy) promotes ? promotions(*p, to) : add(*p, to, kKindNormal, 0);
    if (promotes && b.squares[*p + step] == kEmpty) promotions(*p, *p + step);
  }
  return list;
}

void expect_same_captures(const Board& b) {
  MoveList got, want = walked_captures(b);
  got.count = 0;
  gen_captures(b, got);
  ASSERT_EQ(got.count, want.count);
  for (int i = 0; i < got.count; i++) ASSERT_EQ(got.moves[i], want.moves[i]) << "move " << i;
}

}  // namespace

TEST(Lines, CapturesComeInTheWalksOrder) {
  for (const char* fen : {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                          "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -",
                          "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N w - -", "4k3/8/1p1p1p2/8/1p1Q1p2/8/1p1p1p2/7K w - -",
                          "4k3/8/3p4/8/1p1R1p2/8/3p4/7K w - -", "4k3/8/1p3p2/8/3B4/8/1p3p2/7K w - -"}) {
    auto b = board_from(fen);
    expect_same_captures(*b);
    MoveList moves;
    moves.count = 0;
    gen_legal(*b, moves);
    for (int i = 0; i < moves.count; i++) {
      UndoInfo undo;
      make_move(*b, moves.moves[i], undo);
      expect_same_captures(*b);
      unmake_move(*b, moves.moves[i], undo);
    }
  }
}
