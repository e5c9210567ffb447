// The key a move leads to, computed before the move for the table prefetch,
// must be the real one for ordinary moves and captures, castling rights
// included; only castling, promotions, en passant and double steps may miss.
#include <gtest/gtest.h>

#include "board/fen.h"
#include "board/make.h"
#include "board/movegen.h"
#include "search/key_after.h"

using namespace torvek;

TEST(KeyAfterMove, MatchesTheKeyMakeMoveComputes) {
  const char* const fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
      "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
  };
  static Board b;
  int checked = 0;
  for (const char* fen : fens) {
    SetupFEN(b, fen);
    MoveList list;
    list.count = 0;
    gen_legal(b, list);
    for (int i = 0; i < list.count; i++) {
      int m = list.moves[i];
      int from = square64ToBoard[move_from(m)], to = square64ToBoard[move_to(m)];
      bool doubleStep = is_pawn_code(b.squares[from]) && (to - from == 32 || from - to == 32);
      if (move_kind(m) != kKindNormal || doubleStep) continue;
      uint64_t predicted = key_after_move(b, m);
      UndoInfo undo;
      make_move(b, m, undo);
      EXPECT_EQ(predicted, b.hashKey) << fen << " move " << i;
      unmake_move(b, m, undo);
      checked++;
    }
    UndoInfo undo;
    uint64_t predicted = key_after_null(b);
    make_null(b, undo);
    EXPECT_EQ(predicted, b.hashKey) << fen;
    unmake_null(b, undo);
  }
  EXPECT_GT(checked, 60);
}
