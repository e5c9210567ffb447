// Chess960: perft against Stockfish's counts (perft960.txt beside this file,
// written by scripts/perft960.py), castles made and unmade byte for byte in
// the awkward geometries, the two castling-field notations both ways, bad
// castling fields, and castling move text with the rule on and off.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "board/castling.h"
#include "board/make.h"
#include "board/perft.h"
#include "board_test_util.h"
#include "core/output.h"

using namespace torvek;
using namespace torvek::testing_util;

namespace {

// Chess960 rules for the life of the object; the rest of the suite plays
// standard chess.
struct Chess960On {
  Chess960On() { set_chess960(true); }
  ~Chess960On() { set_chess960(false); }
};

std::string write(const Board& b) {
  std::string fen;
  write_fen(b, fen);
  return fen;
}

// The message of the FEN error, or "" when the FEN was taken.
std::string fen_error(const char* fen) {
  static Board scratch;
  FatalTrap trap;
  try {
    SetupFEN(scratch, fen);
    return "";
  } catch (const FatalTrapped& e) {
    return e.message;
  }
}

}  // namespace

TEST(Chess960, PerftAgreesWithStockfish) {
  Chess960On rules;
  std::ifstream in(std::string(__FILE__).substr(0, std::string(__FILE__).rfind('/')) + "/perft960.txt");
  ASSERT_TRUE(in) << "perft960.txt not found";
  // The deep lines are for the script; the suite runs the shallow ones.
  const double limit = sanitized() ? 60000 : 300000;
  int run = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    size_t a = line.find('|'), b = line.rfind('|');
    std::string fen = line.substr(0, a);
    int depth = std::stoi(line.substr(a + 1, b - a - 1));
    double expected = std::stod(line.substr(b + 1));
    if (expected > limit) continue;
    auto board = board_from(fen.c_str());
    double nodes = 0;
    perft(*board, depth, 0, nodes, true);
    EXPECT_EQ(nodes, expected) << fen << " depth " << depth;
    run++;
  }
  EXPECT_GE(run, sanitized() ? 40 : 80);
}

// Every castle, in positions where the king stays, the rook stays, or the
// two swap squares: the men land on g/c and f/d, the board stays
// consistent, and unmake gives back every byte.
TEST(Chess960, CastlesMakeAndUnmakeExactly) {
  Chess960On rules;
  RandomPst pst;
  const struct {
    const char* fen;
    const char* castle;
    int kingTo, rookTo;
  } kCases[] = {
      {"4k3/8/8/8/8/8/8/R5KR w HA - 0 1", "g1h1", kG1, kF1},   // king stays
      {"4k3/8/8/8/8/8/8/R5KR w HA - 0 1", "g1a1", kC1, kD1},   // long way
      {"4k3/8/8/8/8/8/8/2R1K2R w HC - 0 1", "e1c1", kC1, kD1},  // king onto the rook
      {"4k3/8/8/8/8/8/8/R4KR1 w GA - 0 1", "f1g1", kG1, kF1},  // swap
      {"4k3/8/8/8/8/8/8/2RK3R w HC - 0 1", "d1c1", kC1, kD1},  // swap
      {"4k3/8/8/8/8/8/8/R2K1R2 w FA - 0 1", "d1f1", kG1, kF1},  // rook stays
      {"3rkr2/8/8/8/8/8/8/4K3 b fd - 0 1", "e8d8", kC8, kD8},  // rook stays, black
      {"1r4kr/8/8/8/8/8/8/4K3 b hb - 0 1", "g8b8", kC8, kD8},
  };
  for (const auto& c : kCases) {
    auto b = board_from(c.fen);
    int move = find_move(*b, c.castle);
    ASSERT_NE(move, MoveNone) << c.fen << " " << c.castle;
    ASSERT_EQ(move_kind(move), kKindCastle) << c.castle;
    auto before = std::make_unique<Board>(*b);
    UndoInfo undo;
    make_move(*b, move, undo);
    EXPECT_TRUE(b->is_valid()) << c.fen << " " << c.castle;
    int side = before->side;
    EXPECT_EQ(b->squares[c.kingTo], kKing | colour_bit(side)) << c.castle;
    EXPECT_EQ(b->squares[c.rookTo], kRook | colour_bit(side)) << c.castle;
    EXPECT_EQ(b->castle & (side == kWhite ? 3 : 12), 0) << c.castle;
    unmake_move(*b, move, undo);
    before->keyHistory[before->histCount] = b->keyHistory[b->histCount];  // the slot make wrote
    EXPECT_EQ(std::memcmp(static_cast<void*>(b.get()), before.get(), sizeof(Board)), 0) << c.castle;
  }
}

TEST(Chess960, CastlingFieldIsWrittenInTheFormRead) {
  Chess960On rules;
  const struct {
    const char* in;
    const char* out;
  } kCases[] = {
      {"bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w HFhf - 0 1", "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w HFhf -"},
      {"bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1", "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq -"},
      {kStartFen, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"},
      // X-FEN names an inner rook by its file; K stays the outermost one.
      {"3k2rr/8/8/8/8/8/8/3K2RR w Gg - 0 1", "3k2rr/8/8/8/8/8/8/3K2RR w Gg -"},
      {"3k2rr/8/8/8/8/8/8/3K2RR w Kk - 0 1", "3k2rr/8/8/8/8/8/8/3K2RR w Kk -"},
      // Any order is read; the writer puts white first, king side first.
      {"r3k2r/8/8/8/8/8/8/R3K2R w haAH - 0 1", "r3k2r/8/8/8/8/8/8/R3K2R w HAha -"},
      {"r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1", "r3k2r/8/8/8/8/8/8/R3K2R w - -"},
  };
  for (const auto& c : kCases) {
    auto b = board_from(c.in);
    EXPECT_EQ(write(*b), c.out);
    auto again = board_from(write(*b).c_str());
    EXPECT_EQ(again->hashKey, b->hashKey) << c.in;
  }
  auto inner = board_from("3k2rr/8/8/8/8/8/8/3K2RR w Gg - 0 1");
  auto outer = board_from("3k2rr/8/8/8/8/8/8/3K2RR w Kk - 0 1");
  EXPECT_EQ(inner->castleRook[0], kG1);
  EXPECT_EQ(outer->castleRook[0], kH1);
}

// The rook squares are fixed for a game, so the key covers the rights as
// in standard chess: the start array's key is the standard one.
TEST(Chess960, StandardArrayKeepsItsStandardKey) {
  uint64_t standard = board_from(kStartFen)->hashKey;
  Chess960On rules;
  EXPECT_EQ(board_from(kStartFen)->hashKey, standard);
  EXPECT_EQ(board_from("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w HAha - 0 1")->hashKey, standard);
}

TEST(Chess960, BadCastlingFieldsAreFenErrors) {
  {
    Chess960On rules;
    const char* kBad[] = {
        "4k3/8/8/8/8/8/8/R3K2R w HB - 0 1",   // no rook on b1
        "4k3/8/8/8/8/8/8/R3K1RR w HG - 0 1",  // two king-side rooks
        "4k3/8/8/8/8/8/4K3/R6R w HA - 0 1",   // king off its back rank
        "4k3/8/8/8/8/8/8/R3K2R w KQk - 0 1",  // no black rook
        "4k3/8/8/8/8/8/8/K6R w A - 0 1",      // the king's own file
    };
    for (const char* fen : kBad)
      EXPECT_EQ(fen_error(fen).rfind("SetupFEN(): bad castling rights", 0), 0u) << fen;
    EXPECT_EQ(fen_error("4k3/8/8/8/8/8/8/R3K2R w HAX - 0 1"), "SetupFEN(): bad e.p. square (position=26)\n");
    EXPECT_EQ(fen_error("4k3/8/8/8/8/8/8/RK2K2R w HA - 0 1").rfind("InitPosition(): illegal position - number of kings", 0), 0u);
  }
  // Off, file letters are no castling rights: the FEN fails as it always did.
  EXPECT_EQ(fen_error("4k3/8/8/8/8/8/8/R3K2R w HA - 0 1"), "SetupFEN(): bad e.p. square (position=24)\n");
  EXPECT_EQ(fen_error("4k3/8/8/8/8/8/8/R3K2R w KQkq - 0 1"), "");
}

TEST(Chess960, CastlingMoveText) {
  auto standard = board_from("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  EXPECT_EQ(move_kind(text_to_move(*standard, "e1g1")), kKindCastle);
  EXPECT_EQ(move_kind(text_to_move(*standard, "e1h1")), kKindNormal);
  EXPECT_EQ(text_to_move(*standard, "O-O"), MoveNone);
  Chess960On rules;
  auto b = board_from("r3k2r/8/8/8/8/8/8/R3K2R w HAha - 0 1");
  int shortCastle = text_to_move(*b, "e1h1");
  EXPECT_EQ(shortCastle, make_move_word(4, 7, kKindCastle));
  EXPECT_EQ(move_kind(text_to_move(*b, "e1g1")), kKindNormal);  // a king step, not legal here
  EXPECT_EQ(text_to_move(*b, "O-O"), shortCastle);
  EXPECT_EQ(text_to_move(*b, "O-O-O"), make_move_word(4, 0, kKindCastle));
  EXPECT_EQ(text_of(shortCastle), "e1h1");
  EXPECT_STREQ(castle_text(shortCastle), "O-O");
  EXPECT_STREQ(castle_text(make_move_word(4, 0, kKindCastle)), "O-O-O");
  auto lost = board_from("r3k2r/8/8/8/8/8/8/R3K2R w A - 0 1");
  EXPECT_EQ(text_to_move(*lost, "O-O"), MoveNone);
}

TEST(Chess960, RowMirrorKeepsRightsAndCounts) {
  Chess960On rules;
  const char* fen = "1rqbkrbn/1ppppp1p/1n6/p1N3p1/8/2P4P/PP1PPPP1/1RQBKRBN w FBfb - 0 9";
  std::string mirrored = mirror_fen_rows(fen);
  EXPECT_EQ(mirrored, "1rqbkrbn/pp1pppp1/2p4p/8/P1n3P1/1N6/1PPPPP1P/1RQBKRBN b FBfb - 0 9");
  double a = 0, b = 0;
  perft(*board_from(fen), 3, 0, a, true);
  perft(*board_from(mirrored.c_str()), 3, 0, b, true);
  EXPECT_EQ(a, b);
  EXPECT_EQ(mirror_fen_files("r3k2r/8/8/8/8/8/8/R3K2R w HAha - 0 1"), "r2k3r/8/8/8/8/8/8/R2K3R w - - 0 1");
}
