// FEN set-up and writing: round trips, dropped rights and en-passant squares,
// counters. The fatal messages are checked through the real program.
#include <gtest/gtest.h>

#include <string>

#include "board/board.h"
#include "board/fen.h"

using namespace torvek;

namespace {

std::string fen_of(const Board& b) {
  std::string s;
  write_fen(b, s);
  return s;
}

}  // namespace

TEST(Fen, RoundTripsWithoutCounters) {
  static Board b;
  const char* cases[][2] = {
      {kStartFen, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"},
      {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
       "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -"},
      {"8/8/8/8/8/8/8/K6k w", "8/8/8/8/8/8/8/K6k w - -"},
      {"4k3/8/8/8/8/8/8/4K2R w KQkq - 3 9", "4k3/8/8/8/8/8/8/4K2R w K -"},
  };
  for (auto& c : cases) {
    SetupFEN(b, c[0]);
    EXPECT_EQ(fen_of(b), c[1]) << c[0];
    EXPECT_TRUE(b.is_valid()) << c[0];
  }
}

TEST(Fen, EnPassantKeptOnlyWhenCapturable) {
  static Board b;
  SetupFEN(b, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  EXPECT_EQ(b.epSquare, 0);
  SetupFEN(b, "rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  EXPECT_EQ(b.epSquare, make_square(row_from_digit('3'), column_from_letter('e')));
  EXPECT_EQ(fen_of(b), "rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3");
}

TEST(Fen, CountersSetFiftyAndHistory) {
  static Board b;
  SetupFEN(b, "8/8/8/8/8/8/8/K6k w - - 37 80");
  EXPECT_EQ(b.fifty, 37);
  EXPECT_EQ(b.histCount, 37);
  for (int i = 0; i < 37; i++) EXPECT_EQ(b.keyHistory[i], 0u);
  // An absurd clock stays far inside the key history.
  SetupFEN(b, "8/8/8/8/8/8/8/K6k w - - 99999999999999999999 1");
  EXPECT_LE(b.histCount, 1000);
}

TEST(Fen, ListsOfBareKings) {
  static Board b;
  SetupFEN(b, "8/8/8/8/8/8/8/K6k w");
  EXPECT_EQ(b.pieceList[0][0], kA1);
  EXPECT_EQ(b.pieceList[0][1], 0);
  EXPECT_EQ(b.pieceList[1][0], kH1);
  EXPECT_EQ(b.pawnList[0][0], 0);
  EXPECT_EQ(b.pawnList[1][0], 0);
  EXPECT_EQ(b.menCount, 2);
}

TEST(Fen, PieceListSortedKingFirst) {
  static Board b;
  SetupFEN(b, kStartFen);
  int codes[16];
  for (int i = 0; i < b.pieceCount[0]; i++) codes[i] = b.squares[b.pieceList[0][i]];
  EXPECT_EQ(codes[0], WK);
  EXPECT_EQ(codes[1], WQ);
  EXPECT_EQ(codes[2], WR);
  EXPECT_EQ(codes[3], WR);
  EXPECT_EQ(codes[7], WN);
  // Equal codes keep board order: a1 rook before h1 rook.
  EXPECT_EQ(b.pieceList[0][2], kA1);
  for (int col = 0; col < 16; col++) {
    if (col < 4 || col > 11) {
      EXPECT_EQ(b.pawnFiles[0][col], 0);
    }
  }
  EXPECT_EQ(b.pawnFiles[0][4], 2);   // white pawns on their second rank
  EXPECT_EQ(b.pawnFiles[1][4], 2);   // black pawns likewise, seen from black
}

TEST(Fen, EpdOperationsInFixedOrder) {
  static Board b;
  SetupFEN(b, kStartFen);
  std::string s;
  write_fen(b, s, "x1", "e4", "a3", "e4 e5", "12", "c0 test");
  EXPECT_EQ(s,
            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4; am a3; ce 12; pv e4 e5; "
            "c0 test; id x1;");
}
