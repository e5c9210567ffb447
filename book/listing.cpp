// bookmoves, 1000test and editbook: what the book holds in a position and
// how often each move would be played.
#include <cstring>

#include "board/board.h"
#include "board/movetext.h"
#include "book/book_tools.h"
#include "book/probe.h"
#include "core/output.h"

namespace torvek {

namespace {

bool no_book(const Book& book) {
  if (book.file && book.entries > 0) return false;
  Print("no book");
  return true;
}

const char* text_of(int move, char* buffer, int size) {
  if (!move_to_text(move, buffer, size)) buffer[0] = 0;
  return buffer;
}

}  // namespace

void bookmoves(Book& book, Board& board) {
  if (no_book(book)) return;
  CandidateList list;
  book_candidates(list, book, board);
  BookEntry e;
  char text[16];
  // The candidates are the legal entries in file order; their values are
  // read again for the percentage and games.
  int i = book_find(book, board.hashKey);
  for (int c = 0; list.items[c].move; c++) {
    while (read_entry(i, book, e) && e.move != list.items[c].move) i++;
    if (e.move != list.items[c].move) break;
    i++;
    const char* move = text_of(e.move, text, sizeof text);
    if (e.value == kValueAlways)
      Print("%s : !! (Allways move)", move);
    else if (e.value == kValueStrong)
      Print("%s : ! (strong move)", move);
    else if (e.value == kValueNever)
      Print("%s : ? (never move)", move);
    else
      Print("%s : %d (%d)", move, entry_percent(e), e.games);
  }
}

void test1000(Book& book, Board& board) {
  if (no_book(book)) return;
  struct Pair {
    int move, count;
  } pairs[256];
  int used = 0;
  for (int n = 0; n < 1000; n++) {
    int m = book_choose(board, book, true);
    if (!m) continue;
    int k = 0;
    while (k < used && pairs[k].move != m) k++;
    if (k == used) {
      if (used == 256) continue;
      pairs[used++] = {m, 0};
    }
    pairs[k].count++;
  }
  char text[16];
  Print("1000 bookmoves in current position distributed as:");
  for (int k = 0; k < used; k++) Print("%s : %d", text_of(pairs[k].move, text, sizeof text), pairs[k].count);
}

void editbook(Book& book) {
  Print("not yet implemented");
  if (!book.file || book.entries == 0) Print("no book");
}

}  // namespace torvek
