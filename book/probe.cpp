#include "book/probe.h"

#include <cstdlib>
#include <ctime>

#include "board/board.h"
#include "board/movegen.h"

namespace torvek {

namespace {

// The engine book's construction seeds the C library's generator, which the
// random choice draws from.
struct SeededBook {
  SeededBook() { std::srand(static_cast<unsigned>(std::time(nullptr))); }
};
SeededBook seedAtStart;

bool is_legal(const MoveList& legal, int move) {
  for (int i = 0; i < legal.count; i++)
    if (legal.moves[i] == move) return true;
  return false;
}

// r / 32768 * scale, with r drawn from 0 .. 32767.
int draw_scaled(int scale) {
  int r = std::rand() & 0x7FFF;
  return static_cast<int>(static_cast<double>(r) / 32768.0 * scale);
}

}  // namespace

Book engineBook;

int book_candidates(CandidateList& list, Book& book, Board& board) {
  int n = 0;
  int best = 0;
  list.items[0].move = 0;
  const uint64_t key = board.hashKey;
  int i = book_find(book, key);
  if (i >= book.entries) return 0;
  MoveList legal;
  legal.count = 0;
  gen_legal(board, legal);
  BookEntry e;
  // A key collision brings entries of another position: only moves legal
  // here are offered. Beyond 255 the rest is ignored.
  for (; n < kMaxCandidates && read_entry(i, book, e) && e.key == key; i++) {
    if (e.move == 0 || !is_legal(legal, e.move)) continue;
    int w = entry_weight(e);
    list.items[n].move = e.move;
    list.items[n].weight = w;
    n++;
    if (w != kValueAlways && w != kValueStrong && w > best) best = w;
  }
  list.items[n].move = 0;
  return best;
}

int book_choose(Board& board, Book& book, bool random) {
  CandidateList list;
  int m = book_candidates(list, book, board);
  if (m < 1) m = 1;
  if (list.items[0].move == 0) return 0;
  if (!random) {
    int choice = 0;
    for (int i = 1; list.items[i].move; i++)
      if (list.items[i].weight > list.items[choice].weight) choice = i;
    return list.items[choice].move;
  }
  int chosen = 0;
  bool always = false;
  int total = 0;
  for (int i = 0; list.items[i].move; i++) {
    const BookCandidate& c = list.items[i];
    if (c.weight == kValueAlways) {
      if (!always) {
        chosen = c.move;
        always = true;
      } else if (draw_scaled(100) > 50) {
        chosen = c.move;
      }
    } else if (!always) {
      int w = c.weight == kValueStrong ? 5 * m : c.weight;
      total += w;
      int f = total ? draw_scaled(total) : 0;
      if (f < w) chosen = c.move;
    }
  }
  return chosen;
}

}  // namespace torvek
