// mergebooks and the listing tools: the merge rules per move, the caps,
// sorted output that the engine's own search reads back, a merge into one of
// its inputs, over-long runs, and what bookmoves and 1000test print.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "book/book_test_util.h"
#include "book/book_tools.h"
#include "book/probe.h"

namespace torvek {
namespace {

using namespace book_test;

std::vector<BookEntry> merge(const std::vector<BookEntry>& a, const std::vector<BookEntry>& b,
                             std::string* out = nullptr) {
  std::string p1 = write_book("in1.book", a), p2 = write_book("in2.book", b), p3 = scratch("out.book");
  std::remove(p3.c_str());
  ::testing::internal::CaptureStdout();
  mergebooks((p1 + " " + p2 + " " + p3).c_str());
  std::string printed = ::testing::internal::GetCapturedStdout();
  if (out) *out = printed;
  return read_book(p3);
}

TEST(Merge, SumsStatisticsAndLetNagsWin) {
  auto r = merge({entry(7, 1, 60, 40), entry(7, 2, kValueStrong, 10), entry(7, 4, 5, 5)},
                 {entry(7, 1, 70, 50), entry(7, 2, 30, 900), entry(7, 3, kValueAlways, 2)});
  ASSERT_EQ(r.size(), 4u);
  // Greatest value first: "!!", "!", then points.
  EXPECT_EQ(r[0].move, 3);
  EXPECT_EQ(r[1].move, 2);
  EXPECT_EQ(r[1].value, kValueStrong);
  EXPECT_EQ(r[1].games, 900);
  EXPECT_EQ(r[2].move, 1);
  EXPECT_EQ(r[2].value, 130);
  EXPECT_EQ(r[2].games, 90);
  EXPECT_EQ(r[3].move, 4);  // only in the first book: kept as it was
  EXPECT_EQ(r[3].value, 5);
}

TEST(Merge, SumsPastTheCapsAreHalvedTogether) {
  auto r = merge({entry(7, 1, 11000, 10000), entry(7, 2, 100, 30000)},
                 {entry(7, 1, 11000, 10000), entry(7, 2, 100, 30000)});
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].value, 11000);  // 22000 points over 20000 games, halved once
  EXPECT_EQ(r[0].games, 10000);
  EXPECT_EQ(r[1].value, 100);    // 60000 games: halved once, 0.17 % kept
  EXPECT_EQ(r[1].games, 30000);
  for (const BookEntry& e : r) {
    EXPECT_LE(e.value, kMaxMergedPoints);
    EXPECT_LE(e.games, kMaxMergedGames);
  }
  // 55 % with 55 %: still 55 %.
  auto same = merge({entry(9, 1, 16000, 14545)}, {entry(9, 1, 16000, 14545)});
  EXPECT_EQ(entry_percent(same[0]), 55);
}

TEST(Merge, OutputIsSortedAndEveryKeyOfBothInputsIsFound) {
  std::mt19937_64 rng(7);
  std::vector<BookEntry> a, b;
  for (int i = 0; i < 3000; i++) {
    uint64_t key = rng() % 2 ? rng() : (rng() % 500) * 0x9E3779B97F4A7C15ull;  // shared and top-bit keys
    (i % 2 ? a : b).push_back(entry(key, 1 + int(rng() % 3), 2, 1));
  }
  std::stable_sort(a.begin(), a.end(), entry_before);
  std::stable_sort(b.begin(), b.end(), entry_before);
  std::string printed;
  auto r = merge(a, b, &printed);
  EXPECT_NE(printed.find("merge ok"), std::string::npos);
  EXPECT_NE(printed.find("from book1: 1500, from book2: 1500"), std::string::npos);
  for (size_t i = 1; i < r.size(); i++) ASSERT_LE(r[i - 1].key, r[i].key);
  Book merged;
  book_open("rb", scratch("out.book").c_str(), merged);
  for (const auto* input : {&a, &b})
    for (const BookEntry& e : *input) ASSERT_LT(book_find(merged, e.key), merged.entries);
}

TEST(Merge, EmptyBookGivesACopyAndAnInputMayBeTheOutput) {
  std::vector<BookEntry> a = {entry(3, 1, 10, 10), entry(5, 2, 4, 2)};
  std::string printed;
  auto r = merge(a, {}, &printed);
  EXPECT_NE(printed.find("Error?  Empty book file."), std::string::npos);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[1].games, 2);
  // Once, naming an input as the output truncated it before it was read.
  std::string p1 = write_book("self.book", a), p2 = write_book("other.book", {entry(4, 1, 6, 3)});
  ::testing::internal::CaptureStdout();
  mergebooks((p1 + " " + p2 + " " + p1).c_str());
  ::testing::internal::GetCapturedStdout();
  auto self = read_book(p1);
  ASSERT_EQ(self.size(), 3u);
  EXPECT_EQ(self[1].key, 4u);
}

TEST(Merge, RunsLongerThan255AreRefusedAndNothingIsWritten) {
  std::vector<BookEntry> big;
  for (int m = 1; m <= 256; m++) big.push_back(entry(8, m, 2, 1));
  std::string printed;
  std::string p3 = scratch("out.book");
  write_book("out.book", {entry(1, 1, 1, 1)});  // an old book of that name stays
  std::string p1 = write_book("in1.book", big), p2 = write_book("in2.book", {entry(8, 1, 2, 1)});
  ::testing::internal::CaptureStdout();
  mergebooks((p1 + " " + p2 + " " + p3).c_str());
  printed = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(printed.find("more than 255 entries of one position"), std::string::npos);
  EXPECT_EQ(read_book(p3).size(), 1u);
}

std::string listing(void (*tool)(Book&, Board&), const std::vector<BookEntry>& entries, const char* fen) {
  Book book;
  book_open("rb", write_book("list.book", entries).c_str(), book);
  auto board = board_from(fen);
  ::testing::internal::CaptureStdout();
  tool(book, *board);
  return ::testing::internal::GetCapturedStdout();
}

TEST(Listing, BookmovesAndTheThousandDraws) {
  uint64_t k = key_of(kStartFen);
  int e4 = move_of(kStartFen, "e2e4"), d4 = move_of(kStartFen, "d2d4"), c4 = move_of(kStartFen, "c2c4");
  std::vector<BookEntry> v = {entry(k, e4, kValueAlways, kNagGames), entry(k, d4, kValueStrong, kNagGames),
                              entry(k, c4, 30, 20), entry(k, make_move_word(12, 36), 5, 5),
                              entry(k, move_of(kStartFen, "g1f3"), kValueNever, kNagGames)};
  EXPECT_EQ(listing(bookmoves, v, kStartFen),
            "e2e4 : !! (Allways move)\nd2d4 : ! (strong move)\nc2c4 : 75 (20)\ng1f3 : ? (never move)\n");
  EXPECT_EQ(listing(bookmoves, v, "4k3/8/8/8/8/8/8/4K3 w - - 0 1"), "");
  EXPECT_EQ(listing(test1000, {v[0], v[2]}, kStartFen),
            "1000 bookmoves in current position distributed as:\ne2e4 : 1000\n");
  std::srand(3);
  std::string spread = listing(test1000, {v[2], entry(k, d4, 30, 20)}, kStartFen);
  EXPECT_NE(spread.find("c2c4 : "), std::string::npos);
  EXPECT_NE(spread.find("d2d4 : "), std::string::npos);
  EXPECT_EQ(listing(bookmoves, {}, kStartFen), "no book\n");
}

}  // namespace
}  // namespace torvek
