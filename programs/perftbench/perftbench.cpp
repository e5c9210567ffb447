// perftbench: runs perft over a fixed set of positions with known totals and
// prints nodes, seconds and million nodes per second for each. Every node is
// made and unmade with the draw test, as the console's perft does, so the
// figure is the cost of the real make/generate/legality path.
//
// Seconds are wall-clock time; the CPU-time figure beside them is what to
// compare while other programs share the machine.
//
// Usage: perftbench [depth-reduction]   (e.g. 1 runs each position one ply
// shallower; totals are then not checked)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "board/attack.h"
#include "board/board.h"
#include "board/fen.h"
#include "board/perft.h"
#include "board/zobrist.h"

using namespace torvek;

namespace {

struct Case {
  const char* fen;
  int depth;
  double nodes;
};

const Case kCases[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 6, 119060324},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 5, 193690690},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 5, 15833292},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 5, 89941194},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 5, 164075551},
};

Board board;

}  // namespace

int main(int argc, char** argv) {
  int reduction = argc > 1 ? std::atoi(argv[1]) : 0;
  init_board_tables();
  init_attack_tables();
  init_castle_keys();
  double allNodes = 0, allSeconds = 0, allCpu = 0;
  bool ok = true;
  for (const Case& c : kCases) {
    SetupFEN(board, c.fen);
    int depth = c.depth - reduction;
    double nodes = 0;
    auto start = std::chrono::steady_clock::now();
    std::clock_t cpuStart = std::clock();
    perft(board, depth, 0, nodes, true);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    bool right = reduction != 0 || nodes == c.nodes;
    ok = ok && right;
    allNodes += nodes;
    allSeconds += seconds;
    allCpu += cpu;
    std::printf("depth %d  %12.f nodes  %7.2f s  %6.1f Mnps  (cpu %6.1f Mnps)  %s  %s\n", depth, nodes,
                seconds, nodes / seconds / 1e6, nodes / cpu / 1e6, right ? "ok   " : "WRONG", c.fen);
    std::fflush(stdout);
  }
  std::printf("total    %12.f nodes  %7.2f s  %6.1f Mnps  (cpu %6.1f Mnps)\n", allNodes, allSeconds,
              allNodes / allSeconds / 1e6, allNodes / allCpu / 1e6);
  return ok ? 0 : 1;
}
