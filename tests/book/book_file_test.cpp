// The book file: byte layout, sort order, the on-disk search, the build
// table's growth and halving, and makebook's output byte for byte.
#include <gtest/gtest.h>

#include <algorithm>

#include "board/board.h"
#include "book/makebook.h"
#include "book/book_test_util.h"

namespace torvek {
namespace {

using namespace book_test;

TEST(BookFile, EntriesAreBigEndianAndTrailingBytesIgnored) {
  std::string path = write_book("layout.book", {entry(1, 0x0ABC, 2, 300)});
  std::vector<unsigned char> bytes = file_bytes(path);
  std::vector<unsigned char> expected = {0, 0, 0, 0, 0, 0, 0, 1, 0x0A, 0xBC, 0, 2, 0x01, 0x2C, 0, 0};
  EXPECT_EQ(bytes, expected);
  // Seven stray bytes after the entry are not an entry.
  write_text("layout.book", std::string(bytes.begin(), bytes.end()) + "garbage");
  Book book;
  book_open("rb", path.c_str(), book);
  EXPECT_EQ(book.entries, 1);
}

TEST(BookFile, SortOrderIsUnsignedKeyThenWeight) {
  std::vector<BookEntry> v = {
      entry(0x8000000000000000ull, 1, 10, 10), entry(5, 1, kValueNever, kNagGames),
      entry(5, 2, 20, 10),                    entry(5, 3, kValueStrong, kNagGames),
      entry(5, 4, 40, 20),                    entry(5, 5, kValueAlways, kNagGames),
      entry(0x7FFFFFFFFFFFFFFFull, 1, 1, 1)};
  std::stable_sort(v.begin(), v.end(), entry_before);
  std::vector<int> moves;
  for (const BookEntry& e : v) moves.push_back(e.move);
  // !!, !, 100 %, then 100 % (first met first), then "?"; the top-bit key last.
  EXPECT_EQ(moves, (std::vector<int>{5, 3, 2, 4, 1, 1, 1}));
  EXPECT_EQ(v.back().key, 0x8000000000000000ull);
  EXPECT_EQ(entry_percent(entry(1, 1, 7, 0)), 700);  // divisor 1 without games
}

TEST(BookFile, FindHitsFirstAndLastAndMissesAbsentKeys) {
  std::vector<BookEntry> v;
  for (uint64_t k = 10; k <= 100; k += 10)
    for (int m = 1; m <= 3; m++) v.push_back(entry(k, m, 2, 1));
  v.push_back(entry(0xFFFFFFFFFFFFFFF0ull, 1, 2, 1));
  Book book;
  book_open("rb", write_book("find.book", v).c_str(), book);
  EXPECT_EQ(book_find(book, 10), 0);
  EXPECT_EQ(book_find(book, 50), 12);
  EXPECT_EQ(book_find(book, 0xFFFFFFFFFFFFFFF0ull), 30);
  for (uint64_t absent : {0ull, 15ull, 101ull, 0xFFFFFFFFFFFFFFFFull}) EXPECT_EQ(book_find(book, absent), 31);
  Book empty;
  book_open("rb", write_book("empty.book", {}).c_str(), empty);
  EXPECT_EQ(book_find(empty, 10), 0);
}

TEST(BookTable, GrowsThroughPowersOfTwoAndHalvingSparesNagEntries) {
  Book book;
  book_alloc(book);
  auto board = board_from(kStartFen);
  for (int i = 0; i < 1000; i++) {
    board->hashKey = 0x100000000ull * i + 7;  // every key starts at the same slot
    ASSERT_EQ(book_table_insert(book, *board, 1), i);
  }
  EXPECT_EQ(book.capacity, 1024);
  EXPECT_EQ(book.index_mask, 2047);
  board->hashKey = 0x100000000ull * 999 + 7;
  EXPECT_EQ(book_table_insert(book, *board, 1), 999);  // found again
  int stat = book_table_insert(book, *board, 2);
  int nag = book_table_insert(book, *board, 3);
  book.items[stat].value = 301;
  book.items[stat].games = 151;
  book.items[nag].value = kValueStrong;
  book.items[nag].games = kNagGames;
  book_table_halve(book, board->hashKey);
  EXPECT_EQ(book.items[stat].value, 151);
  EXPECT_EQ(book.items[stat].games, 76);
  EXPECT_EQ(book.items[nag].value, kValueStrong);
  EXPECT_EQ(book.items[nag].games, kNagGames);
}

// Two games from the initial position; one annotated. Byte-exact output.
const char* kTwoGames =
    "[Result \"1-0\"]\n1. e4 e5 2. Nf3 1-0\n\n"
    "[Result \"1/2-1/2\"]\n1. e4 c5! 2. Nf3?? 1/2-1/2\n";

std::vector<BookEntry> make(const std::string& options) {
  std::string pgn = write_text("games.pgn", kTwoGames);
  std::string out = scratch("made.book");
  std::remove(out.c_str());
  makebook((" -pgn " + pgn + " -book " + out + " " + options).c_str());
  return read_book(out);
}

TEST(Makebook, WritesSortedStatisticsAndFrozenNagEntries) {
  const char* afterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1";
  const char* afterC5 = "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq c6 0 2";
  std::vector<BookEntry> book = make("-mingame 0 -minscore 0");
  ASSERT_EQ(book.size(), 5u);
  std::vector<BookEntry> want = {
      entry(key_of(kStartFen), move_of(kStartFen, "e2e4"), 3, 2),  // a win and a draw
      entry(key_of(afterE4), move_of(afterE4, "c7c5"), kValueStrong, kNagGames),
      entry(key_of(afterE4), move_of(afterE4, "e7e5"), 0, 1),  // lost
      entry(key_of(afterC5), move_of(afterC5, "g1f3"), kValueNever, kNagGames),
  };
  std::stable_sort(want.begin(), want.end(), entry_before);
  int found = 0;
  for (const BookEntry& w : want)
    for (const BookEntry& e : book)
      if (e.key == w.key && e.move == w.move && e.value == w.value && e.games == w.games) found++;
  EXPECT_EQ(found, 4);
  EXPECT_TRUE(std::is_sorted(book.begin(), book.end(), entry_before));
  for (const BookEntry& e : book) EXPECT_EQ(e.reserved, 0);
}

TEST(Makebook, FiltersByGamesScorePlyAndSide) {
  // Default filter: 3 games, 50 %: nothing here has 3 games but the NAGs.
  EXPECT_EQ(make("").size(), 2u);
  EXPECT_EQ(make("-mingame 2 -minscore 0 -maxply 1").size(), 1u);  // 1.e4 alone
  EXPECT_EQ(make("-mingame 0 -minscore 0 -white").size(), 3u);
  EXPECT_EQ(make("-mingame 0 -minscore 0 -black").size(), 2u);
  EXPECT_EQ(make("-mingame 0 -minscore 0 -white -black").size(), 5u);
  // -minscore 76 keeps the NAG entries and the won 2.Nf3, drops e4 (75 %)
  // and the lost e5.
  EXPECT_EQ(make("-mingame 0 -minscore 76").size(), 3u);
}

TEST(Makebook, SkipsSetUpGamesAndRejectsBadOptionsWithoutWriting) {
  std::string pgn = write_text("setup.pgn",
                               "[FEN \"8/8/8/8/8/8/4K3/k7 w - - 0 1\"]\n1. Kd3 1-0\n"
                               "[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\"]\n1. d4 1-0\n");
  std::string out = scratch("setup.book");
  makebook((" -pgn " + pgn + " -book " + out + " -mingame 0").c_str());
  std::vector<BookEntry> book = read_book(out);
  ASSERT_EQ(book.size(), 1u);  // the game from the initial position's FEN
  EXPECT_EQ(book[0].key, key_of(kStartFen));
  std::remove(out.c_str());
  makebook((" -pgn " + pgn + " -book " + out + " -minscore 150").c_str());
  EXPECT_TRUE(file_bytes(out).empty());
  MakebookSettings s = parse_makebook_options("");
  EXPECT_EQ(s.pgn, "book.pgn");
  EXPECT_EQ(s.book, "Torvek.book");
  EXPECT_EQ(s.maxply, 999);
  EXPECT_EQ(s.mingame, 3);
  EXPECT_EQ(s.minscore, 50.0);
  EXPECT_TRUE(parse_makebook_options("-maxply 0").failed);
  EXPECT_TRUE(parse_makebook_options("-frobnicate").failed);
  EXPECT_FALSE(parse_makebook_options("-white -noscore").failed);
}

TEST(Makebook, AnnotationOutlastsManyGamesAndHalvingKeepsPercentages) {
  // 1.e4!! once, then 40000 plain games that white wins three times in four:
  // the "!!" stays and the statistics of the other move are halved as they
  // pass the counters' range, keeping their percentage.
  std::string text = "[Result \"1-0\"]\n1. e4!! 1-0\n";
  for (int i = 0; i < 40000; i++) text += i % 4 ? "[Result \"1-0\"]\n1. e4 d5 2. d4 1-0\n" : "[Result \"0-1\"]\n1. e4 d5 2. d4 0-1\n";
  std::string pgn = write_text("many.pgn", text);
  std::string out = scratch("many.book");
  makebook((" -pgn " + pgn + " -book " + out + " -maxply 1 -mingame 0 -minscore 0").c_str());
  std::vector<BookEntry> book = read_book(out);
  ASSERT_EQ(book.size(), 1u);
  EXPECT_EQ(book[0].value, kValueAlways);
  EXPECT_EQ(book[0].games, kNagGames);
  makebook((" -pgn " + pgn + " -book " + out + " -maxply 3 -mingame 0 -minscore 0").c_str());
  book = read_book(out);
  ASSERT_EQ(book.size(), 3u);
  const uint64_t afterE4 = key_of("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  for (const BookEntry& e : book) {
    if (e.value == kValueAlways) continue;
    EXPECT_LT(e.games, 32767);
    EXPECT_GT(e.games, 5000);  // halved, not reset
    EXPECT_NEAR(entry_percent(e), e.key == afterE4 ? 25 : 75, 1);
  }
}

}  // namespace
}  // namespace torvek
