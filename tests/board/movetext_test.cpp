// Coordinate move text both ways, square text, the FEN mirrors (with the
// castling letters kept in readable order) and the listings' text.
#include <gtest/gtest.h>

#include "board/listing.h"
#include "board_test_util.h"

using namespace torvek;
using namespace torvek::testing_util;

TEST(MoveText, ReadsAndCompletesKinds) {
  auto b = board_from("r3k3/4P3/8/3pP3/8/8/8/R3K2R w KQq d6 0 1");
  struct Case {
    const char* text;
    int move;
  } cases[] = {
      {"e7e8q", make_move_word(52, 60, kKindPromotion, kPromoQueen)},
      {"e7e8Q", make_move_word(52, 60, kKindPromotion, kPromoQueen)},
      {"e7e8n", make_move_word(52, 60, kKindPromotion, kPromoKnight)},
      {"e7e8", make_move_word(52, 60)},  // no letter: stays a plain move
      {"e1g1", make_move_word(4, 6, kKindCastle)},
      {"e1c1", make_move_word(4, 2, kKindCastle)},
      {"a1c1", make_move_word(0, 2)},  // a rook's two-file move
      {"e5d6", make_move_word(36, 43, kKindEnPassant)},
      {"e5e6", make_move_word(36, 44)},
      {"e7e8k", MoveNone},
      {"e2e4 ", MoveNone},
      {"e7e8qq", MoveNone},
      {"e2e", MoveNone},
      {"i2e4", MoveNone},
      {"e9e4", MoveNone},
      {"E2E4", MoveNone},
      {"", MoveNone},
  };
  for (const auto& c : cases) EXPECT_EQ(text_to_move(*b, c.text), c.move) << c.text;
  EXPECT_EQ(text_to_move(*b, nullptr), MoveNone);
}

TEST(MoveText, Writes) {
  struct Case {
    int move;
    const char* text;
  } cases[] = {
      {make_move_word(12, 28), "e2e4"},
      {make_move_word(52, 60, kKindPromotion, kPromoQueen), "e7e8q"},
      {make_move_word(52, 61, kKindPromotion, kPromoBishop), "e7f8b"},
      {make_move_word(4, 6, kKindCastle), "e1g1"},
      {MoveNull, "null"},
      {MoveNone, "a1a1"},
  };
  for (const auto& c : cases) EXPECT_EQ(text_of(c.move), c.text);
  char small[5] = "xxxx";
  EXPECT_FALSE(move_to_text(make_move_word(12, 28), small, sizeof small));
  EXPECT_STREQ(small, "xxxx");
}

TEST(MoveText, Squares) {
  EXPECT_EQ(text_to_square("a1"), kA1);
  EXPECT_EQ(text_to_square("h8"), kH8);
  for (const char* bad : {"a", "a10", "i1", "a9", "A1", ""}) EXPECT_EQ(text_to_square(bad), 0) << bad;
  char buf[3];
  ASSERT_TRUE(square_to_text(kE1, buf, sizeof buf));
  EXPECT_STREQ(buf, "e1");
  EXPECT_FALSE(square_to_text(kE1, buf, 2));
  EXPECT_FALSE(square_to_text(0, buf, sizeof buf));  // a border square
}

TEST(Mirror, OverTheRows) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {kStartFen, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"},
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
       "rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR w KQkq e6 0 1"},
      {"r3k3/8/8/8/8/8/8/4K2R w Kq -", "4k2r/8/8/8/8/8/8/R3K3 b Qk -"},
      {"8/8/8/8/8/8/8/K6k w", "k6K/8/8/8/8/8/8/8 b"},
      {"4k3/8/8/8/8/8/8/4K3 w - - bm e1e2; id \"x\";", "4k3/8/8/8/8/8/8/4K3 b - - bm e1e2; id \"x\";"},
      {"", ""},
      {"garbage", "GARBAGE"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mirror_fen_rows(c.in), c.out) << c.in;
    EXPECT_EQ(mirror_fen_rows(mirror_fen_rows(c.in).c_str()), c.in);
  }
  // The mirrored text is a position the reader accepts.
  auto b = board_from(mirror_fen_rows("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -").c_str());
  EXPECT_EQ(b->castle, 15);
  EXPECT_EQ(b->side, kBlack);
}

TEST(Mirror, OverTheFiles) {
  EXPECT_EQ(mirror_fen_files(kStartFen), "rnbkqbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKQBNR w - - 0 1");
  EXPECT_EQ(mirror_fen_files("4k3/8/8/3p4/8/8/8/4K3 w - - 0 1"), "3k4/8/8/4p3/8/8/8/3K4 w - - 0 1");
  EXPECT_EQ(mirror_fen_files("4k3/8/8/8/3pP3/8/8/4K3 b - e3"), "3k4/8/8/8/3Pp3/8/8/3K4 b - d3");
}

TEST(Listing, BoardPiecesAndMoves) {
  auto b = board_from("4k3/8/8/8/8/8/3PP3/R3K2R w KQ - 0 1");
  std::string text = board_text(*b);
  const std::string rule = "   +---+---+---+---+---+---+---+---+\n";
  EXPECT_EQ(text.substr(0, rule.size() + 1), "\n" + rule);
  EXPECT_NE(text.find(" 8 |   |   |   |   | k |   |   |   |\n"), std::string::npos);
  EXPECT_NE(text.find(" 1 | R |   |   |   | K |   |   | R |\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 36), "     A   B   C   D   E   F   G   H\n\n");
  EXPECT_EQ(pieces_text(*b), "\nK at e1\nR at a1 h1\nP at d2 e2\nk at e8\n");
  auto start = board_from(kStartFen);
  std::string moves = moves_text(*start);
  EXPECT_EQ(moves.substr(0, 39), "20 moves\nb1a3 b1c3 g1f3 g1h3 a2a3 a2a4 ");
  EXPECT_EQ(moves.substr(moves.size() - 7), " h2h4 \n");
  EXPECT_EQ(epd_line(*start, 42), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - id c42;");
}
