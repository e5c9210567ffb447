// Perft totals against the published counts, the same totals from the
// colour-mirrored positions, and perftm agreeing with perft. The counts run
// through the console's perft, draw test included.
#include <gtest/gtest.h>

#include "board/perft.h"
#include "board_test_util.h"

using namespace torvek;
using namespace torvek::testing_util;

namespace {

struct PerftCase {
  const char* fen;
  int depth;         // release build
  double nodes;
  int shallowDepth;  // sanitizer build
  double shallowNodes;
};

const PerftCase kPerftCases[] = {
    {kStartFen, 5, 4865609, 3, 8902},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4, 4085603, 3, 97862},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624, 4, 43238},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333, 3, 9467},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487, 3, 62379},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 4, 3894594, 3, 89890},
    // En passant that would expose the king along the rank, and checks by
    // a pawn that may be taken en passant.
    {"8/8/8/2k5/3Pp3/8/8/4K2R b K d3 0 1", 4, 17523, 3, 1021},
    {"8/8/8/8/k2Pp2Q/8/8/3K4 b - d3 0 1", 4, 20471, 3, 863},
};

double count_nodes(const char* fen, int depth) {
  auto b = board_from(fen);
  double nodes = 0;
  perft(*b, depth, 0, nodes, true);
  return nodes;
}

}  // namespace

TEST(Perft, PublishedTotals) {
  for (const PerftCase& c : kPerftCases) {
    int depth = sanitized() ? c.shallowDepth : c.depth;
    double expected = sanitized() ? c.shallowNodes : c.nodes;
    EXPECT_EQ(count_nodes(c.fen, depth), expected) << c.fen;
  }
}

TEST(Perft, MirroredPositionsGiveTheSameTotals) {
  for (const PerftCase& c : kPerftCases) {
    std::string mirrored = mirror_fen_rows(c.fen);
    EXPECT_EQ(count_nodes(mirrored.c_str(), c.shallowDepth), c.shallowNodes) << mirrored;
  }
}

TEST(Perft, PerftmTotalEqualsPerft) {
  for (int depth = 1; depth <= 3; depth++) {
    auto b = board_from(kPerftCases[1].fen);
    double nodes = 0;
    perft(*b, depth, 0, nodes, true);
    EXPECT_EQ(perftm(*b, depth, true), nodes) << depth;
  }
}

TEST(Perft, DrawTestPrunesTheTree) {
  // With the clock at 99 only pawn moves and captures (or a mate) avoid the
  // fifty-move limit: of the six moves only the two pawn moves count.
  EXPECT_EQ(count_nodes("4k3/8/8/8/8/8/4P3/4K3 w - - 99 80", 1), 2);
  EXPECT_EQ(count_nodes("4k3/8/8/8/8/8/4P3/4K3 w - - 0 80", 1), 6);
  // A mate with the hundredth half-move still counts: Ra8 mate.
  EXPECT_EQ(count_nodes("6k1/5ppp/8/8/8/8/8/R5K1 w - - 99 80", 1), 1);
  // perft 0 and negative depths count nothing.
  EXPECT_EQ(count_nodes(kStartFen, 0), 0);
  EXPECT_EQ(count_nodes(kStartFen, -2), 0);
}

TEST(Perft, AbsurdDepthIsRefused) {
  // The first line of play would otherwise run some thousands of plies
  // deep before the draw rules stop it.
  auto b = board_from(kStartFen);
  double nodes = 0;
  perft(*b, kMaxPerftDepth + 1, 0, nodes, true);
  EXPECT_EQ(nodes, 0);
  EXPECT_EQ(perftm(*b, 1000, true), 0);
}
