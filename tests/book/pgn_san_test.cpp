// PGN reader and SAN moves: the reader's edge cases, every game of the
// default collection against an independent reader's counts, malformed
// files ending with their messages, and SAN tokens that name no legal move.
#include <gtest/gtest.h>

#include <cstring>

#include "board/make.h"
#include "book/book_test_util.h"
#include "book/pgn.h"
#include "book/san.h"

namespace torvek {
namespace {

using namespace book_test;

struct Move {
  std::string san, nag;
  int line, column;
};

std::vector<std::vector<Move>> read_all(const std::string& text, std::vector<std::string>* results = nullptr) {
  PgnReader r;
  pgn_open(r, write_text("read.pgn", text).c_str());
  std::vector<std::vector<Move>> games;
  char move[256], nag[256];
  while (read_game_header(r)) {
    if (results) results->push_back(r.result);
    games.emplace_back();
    while (read_move(r, move, nag, sizeof move)) games.back().push_back({move, nag, r.move_line, r.move_column});
  }
  return games;
}

std::string sans(const std::vector<Move>& game) {
  std::string s;
  for (const Move& m : game) s += m.san + (m.nag.empty() ? "" : "[" + m.nag + "]") + " ";
  return s;
}

TEST(Pgn, SkipsNumbersCommentsVariationsAndKeepsFirstNags) {
  std::vector<std::string> results;
  auto games = read_all(
      "[Event \"a \\\"quoted\\\" name\"]\n[Result \"0-1\"]\n"
      "1. e4!? {a comment\nover\nthree lines} 1... e5 $1 $2 2.Nf3 (2. d4! d5) Nc6 ; rest\n"
      "%escaped line\n3. Bb5 (3. Bc4 (3. d4)) $14 a6 0-1\n"
      "$5 1. d4 d5 *\n"
      "1. c4\n",
      &results);
  ASSERT_EQ(games.size(), 3u);
  EXPECT_EQ(sans(games[0]), "e4[5] e5[1] Nf3 Nc6 Bb5 a6 ");
  EXPECT_EQ(games[0][1].line, 5);  // the comment's lines were counted
  EXPECT_EQ(games[0][3].line, 5);
  EXPECT_EQ(games[0][3].column, 45);
  EXPECT_EQ(sans(games[1]), "d4 d5 ");
  EXPECT_EQ(sans(games[2]), "c4 ");
  EXPECT_EQ(results, (std::vector<std::string>{"0-1", "*", "*"}));
}

TEST(Pgn, ReadsEveryGameOfTheDefaultCollection) {
  // Counts from an independent reader (chess.js) over the same two files.
  std::string path = std::string(__FILE__);
  path = path.substr(0, path.rfind("/tests/")) + "/data/book_games.pgn";
  PgnReader r;
  pgn_open(r, path.c_str());
  char move[256], nag[256];
  int games = 0;
  long moves = 0;
  while (read_game_header(r)) {
    games++;
    while (read_move(r, move, nag, sizeof move)) moves++;
  }
  EXPECT_EQ(games, 6895 + 2941);
  EXPECT_EQ(moves, 562936 + 253214);
}

void expect_fatal(const std::string& text, const char* message) {
  std::string path = write_text("bad.pgn", text);
  EXPECT_EXIT(
      {
        std::fclose(stdin);  // a fatal error at a console would wait for a key
        read_all(text);
      },
      ::testing::ExitedWithCode(1), message);
}

TEST(PgnDeathTest, MalformedFilesEndWithTheirMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  expect_fatal("[Event \"never closed]\n1. e4", "unexpected EOF in PGN file at line 2, pos 5");
  expect_fatal("1. e4 {never closed\n", "unexpected EOF in PGN file at line 1, pos 6");
  expect_fatal("[Event \"" + std::string(300, 'x') + "\"]", "string too long in line 1");
  expect_fatal("1. " + std::string(300, 'e'), "error in pgn file in line 1");
  expect_fatal("1. e4 \x01\xff\x80 e5", "lexical error at line 1, pos 6");
  expect_fatal("1. e4 e5) Nf3", "strange moves at line 1, pos 8");
  expect_fatal("[Event e4]", "Pgn string error in line 1, pos 7");
  expect_fatal("1. e4 $ e5", "unexpected NAG, line 1, pos 6");
}

int san(Board& b, const char* token) {
  char pattern[kPatternSize];
  return san_to_pattern(kPatternSize, b, token, pattern) ? pattern_to_move(b, pattern) : 0;
}

std::string pattern_of(const char* fen, const char* token) {
  char pattern[kPatternSize] = {};
  if (!san_to_pattern(kPatternSize, *board_from(fen), token, pattern)) return "fail";
  return pattern;
}

TEST(San, PatternsOfTheCommonForms) {
  EXPECT_EQ(pattern_of(kStartFen, "Nf3+"), "N???f3?");
  EXPECT_EQ(pattern_of(kStartFen, "Nf3#"), "N???f3?");
  EXPECT_EQ(pattern_of(kStartFen, "exd5"), "?e??d5?");
  EXPECT_EQ(pattern_of(kStartFen, "e8=Q"), "????e8Q");
  EXPECT_EQ(pattern_of(kStartFen, "e8Q"), "????e8Q");
  EXPECT_EQ(pattern_of(kStartFen, "O-O"), "Ke1?h1?");
  EXPECT_EQ(pattern_of(kStartFen, "0-0"), "fail");
  EXPECT_EQ(pattern_of("4k3/8/8/8/8/8/8/R3K2R w - - 0 1", "O-O"), "fail");  // the right is gone
  EXPECT_EQ(pattern_of(kStartFen, "Nf3 junk"), "fail");
}

TEST(San, MatchesExactlyOneLegalMove) {
  // Knights on b8 and f6, d7 free: Nd7 is ambiguous, Nbd7 is not.
  auto open = board_from("rnbqkb1r/ppp2ppp/5n2/3pp3/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
  EXPECT_EQ(san(*open, "Nd7"), 0);
  EXPECT_EQ(san(*open, "Nbd7"), move_of("rnbqkb1r/ppp2ppp/5n2/3pp3/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1", "b8d7"));
  // A pinned knight is no second candidate.
  const char* pin = "4k3/8/8/8/1b6/8/3N4/4K1N1 w - - 0 1";
  auto pinned = board_from(pin);
  EXPECT_EQ(san(*pinned, "Nf3"), move_of(pin, "g1f3"));
  EXPECT_EQ(san(*pinned, "Ne2"), move_of(pin, "g1e2"));
  // En passant and castling.
  const char* ep = "4k3/8/8/3pP3/8/8/8/4K2R w K d6 0 1";
  auto epBoard = board_from(ep);
  EXPECT_EQ(san(*epBoard, "exd6"), move_of(ep, "e5d6"));
  EXPECT_EQ(san(*epBoard, "O-O"), move_of(ep, "e1g1"));
  EXPECT_EQ(san(*epBoard, "Ke1g1"), move_of(ep, "e1g1"));
}

TEST(San, TokensThatNameNoLegalMoveAreRefused) {
  // Each of these once gave a move and corrupted the game board.
  auto b = board_from(kStartFen);
  EXPECT_EQ(san(*b, "e5"), 0);      // no pawn reaches e5
  EXPECT_EQ(san(*b, "Ne2e4"), 0);   // the full square ignored the piece letter
  EXPECT_EQ(san(*b, "Bb1c3"), 0);
  EXPECT_EQ(san(*b, "Nd3"), 0);     // no knight attacks d3
  const char* promo = "4k3/P7/8/8/8/8/8/4K3 w - - 0 1";
  auto p = board_from(promo);
  EXPECT_EQ(san(*p, "a8"), 0);      // the last rank needs a promotion
  EXPECT_EQ(san(*p, "a8=N"), move_of(promo, "a7a8n"));
  EXPECT_EQ(san(*board_from("4k3/8/8/8/8/8/8/4K3 w - - 0 1"), "e2=Q"), 0);
  const char* check = "4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 1";
  auto inCheck = board_from(check);
  EXPECT_EQ(san(*inCheck, "O-O"), 0);  // castling out of check
  EXPECT_EQ(san(*inCheck, "Ra3"), 0);  // ignores the check
  EXPECT_EQ(san(*inCheck, "Kxe2"), move_of(check, "e1e2"));
  const char* through = "4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1";
  EXPECT_EQ(san(*board_from(through), "O-O"), 0);  // through an attacked square
  EXPECT_EQ(san(*board_from(through), "O-O-O"), move_of(through, "e1c1"));
}

}  // namespace
}  // namespace torvek
