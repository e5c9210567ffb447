// The book's move choice as distributions over many seeded draws, and the
// legality filter that keeps key collisions out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "book/book_test_util.h"
#include "book/probe.h"

namespace torvek {
namespace {

using namespace book_test;

std::map<std::string, int> draws(const std::vector<BookEntry>& entries, int n = 10000) {
  Book book;
  book_open("rb", write_book("choice.book", entries).c_str(), book);
  auto board = board_from(kStartFen);
  std::srand(12345);
  std::map<std::string, int> seen;
  char text[8];
  for (int i = 0; i < n; i++) {
    int m = book_choose(*board, book, true);
    if (!m) {
      seen["none"]++;
      continue;
    }
    move_to_text(m, text, sizeof text);
    seen[text]++;
  }
  return seen;
}

uint64_t start() { return key_of(kStartFen); }
int mv(const char* text) { return move_of(kStartFen, text); }

TEST(BookChoice, TwoAlwaysMovesShareAndNeverMovesAreNeverPlayed) {
  auto seen = draws({entry(start(), mv("e2e4"), kValueAlways, kNagGames),
                     entry(start(), mv("d2d4"), kValueAlways, kNagGames),
                     entry(start(), mv("c2c4"), 80, 10),
                     entry(start(), mv("g1f3"), kValueNever, kNagGames)});
  EXPECT_NEAR(seen["e2e4"], 5000, 300);
  EXPECT_NEAR(seen["d2d4"], 5000, 300);
  EXPECT_EQ(seen["e2e4"] + seen["d2d4"], 10000);
  auto onlyNever = draws({entry(start(), mv("g1f3"), kValueNever, kNagGames)}, 100);
  EXPECT_EQ(onlyNever["none"], 100);
}

TEST(BookChoice, StrongMoveWeighsFiveTimesTheBestPercentage) {
  // m = 60: "!" weighs 300 against 60 and 40.
  auto seen = draws({entry(start(), mv("e2e4"), kValueStrong, kNagGames),
                     entry(start(), mv("d2d4"), 60, 50), entry(start(), mv("c2c4"), 40, 50)});
  EXPECT_NEAR(seen["e2e4"], 10000 * 300 / 400, 300);
  EXPECT_NEAR(seen["d2d4"], 10000 * 60 / 400, 250);
  EXPECT_NEAR(seen["c2c4"], 10000 * 40 / 400, 200);
}

TEST(BookChoice, WithoutRandomTheFirstOfEqualBestAndNoCollisionIsOffered) {
  // e2e5 is no move of this position: an entry of another position that
  // shares the key.
  std::vector<BookEntry> v = {entry(start(), make_move_word(12, 36), kValueAlways, kNagGames),
                              entry(start(), mv("d2d4"), 60, 50), entry(start(), mv("e2e4"), 60, 50),
                              entry(start(), mv("c2c4"), 50, 50)};
  Book book;
  book_open("rb", write_book("collide.book", v).c_str(), book);
  auto board = board_from(kStartFen);
  EXPECT_EQ(book_choose(*board, book, false), mv("d2d4"));
  CandidateList list;
  EXPECT_EQ(book_candidates(list, book, *board), 60);
  EXPECT_EQ(list.items[0].move, mv("d2d4"));
  EXPECT_EQ(list.items[3].move, 0);
  for (int i = 0; i < 1000; i++) EXPECT_NE(book_choose(*board, book, true), v[0].move);
  auto elsewhere = board_from("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(book_choose(*elsewhere, book, true), 0);
}

}  // namespace
}  // namespace torvek
