// Book probing: the legal book moves of a position with their weights, and
// the choice among them (best weight, or at random with "!!" = only this
// move, "!" = often this move, "?" = never).
#pragma once

#include <cstdint>

#include "book/book_file.h"

namespace torvek {

class Board;

constexpr int kMaxCandidates = 255;

struct BookCandidate {
  uint16_t move;
  int weight;
};

// Up to 255 candidates, ended by move 0.
struct CandidateList {
  BookCandidate items[kMaxCandidates + 1];
};

// The engine's own book; opened at the start of play, read only.
extern Book engineBook;

// Fills the list with the legal entries of the board's key in file order;
// returns the largest weight among the entries that are not "!!" or "!".
int book_candidates(CandidateList& list, Book& book, Board& board);
// 0 when the book has no playable move here.
int book_choose(Board& board, Book& book, bool random);

}  // namespace torvek
