// A fingerprint of the whole evaluation: the scores of some thousand
// positions (random continuations of middlegame and endgame positions) fold
// into one number. Rewrites of the evaluation for speed must keep it: any
// term that changes by one point anywhere shows here before it shows as a
// changed search.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "board/make.h"
#include "board/movegen.h"
#include "eval/eval_terms.h"
#include "eval/pawns.h"
#include "eval/term_cache.h"
#include "eval_test_util.h"

using namespace torvek;

namespace {

const char* const kStarts[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "2kr3r/p1qnbp2/1pn1p3/3pP1p1/2pP4/P1P2N2/1P1NQPPP/R1B2RK1 w - -",
    "r2r2k1/p2bqpbp/2p1n1p1/Pp2p3/4P3/1NP1B3/1PQ1BPPP/R2R2K1 w - -",
    "rnb1kb1r/1p3ppp/p5q1/4p3/3N4/4BB2/PPPQ1P1P/R3K2R w KQkq -",
    "3r1k2/3r1pb1/1ppp1qpp/p1n5/2P2N2/1P2PPR1/P2R1P1P/1B1Q3K b - -",
    "3r4/pp1rk1pp/n3pp2/8/2RN1P2/4P3/PP2K1PP/2R5 w - -",
    "8/5pk1/6p1/1R5p/7P/4r1P1/5PK1/8 w - -",
    "6k1/2q2pp1/7p/8/3Q4/6P1/5P1P/6K1 b - -",
};

inline uint64_t fold(uint64_t h, int v) {
  return (h ^ static_cast<uint32_t>(v)) * 0x100000001B3ull;
}

}  // namespace

TEST(EvaluationSignature, ScoresOfAThousandPositionsAreUnchanged) {
  static Board b;
  std::mt19937 rng(7);
  uint64_t whole = 0xCBF29CE484222325ull, mobility = whole;
  int positions = 0;
  for (const char* start : kStarts)
    for (int game = 0; game < 3; game++) {
      eval_board(start, b);
      for (int ply = 0; ply < 50; ply++) {
        whole = fold(whole, evalu8(b, -30000, 30000));
        int op = 0, eg = 0;
        add_mobility(b, pawn_probe(b), op, eg);
        mobility = fold(fold(mobility, op), eg);
        positions++;
        MoveList list;
        list.count = 0;
        gen_legal(b, list);
        if (list.count == 0) break;
        UndoInfo undo;
        make_move(b, list.moves[rng() % list.count], undo);
      }
    }
  EXPECT_GT(positions, 1000);
  EXPECT_EQ(mobility, 14001494958888585400ull);
  EXPECT_EQ(whole, 7685058734220313758ull);
}

// The positional terms are cached by position: a weight change must not
// hand back sums computed under the old weights.
TEST(EvaluationSignature, CachedTermsFollowTheWeights) {
  static Board b;
  const char* fen = "2kr3r/p1qnbp2/1pn1p3/3pP1p1/2pP4/P1P2N2/1P1NQPPP/R1B2RK1 w - -";
  eval_board(fen, b);
  int usual = evalu8(b, -30000, 30000);
  EXPECT_EQ(evalu8(b, -30000, 30000), usual);
  for (int* weight : {&b.mobility_weight, &b.king_safety_weight, &b.passer_weight}) {
    *weight = 0;
    int cached = evalu8(b, -30000, 30000);
    clear_term_cache();
    EXPECT_EQ(evalu8(b, -30000, 30000), cached);
    *weight = 256;
    EXPECT_EQ(evalu8(b, -30000, 30000), usual);
  }
}
