// Console tools around a book file: merging two books into a third, listing
// the book moves of a position, the distribution of 1000 random choices.
#pragma once

#include <cstdio>

#include "book/book_file.h"

namespace torvek {

class Board;

constexpr int kMaxRun = 255;
constexpr int kMaxMergedPoints = 16379;
constexpr int kMaxMergedGames = 32762;

// "book1 book2 newbook". The new book is written under a temporary name and
// renamed over its target only when complete, so an input may be the output.
void mergebooks(const char* args);
// Merges two runs of one key into `out` (n1 + n2 entries at most).
int merge_runs(const BookEntry* run1, int n1, const BookEntry* run2, int n2, BookEntry* out,
               int& count1, int& count2);
void bookmoves(Book& book, Board& board);
void test1000(Book& book, Board& board);
void editbook(Book& book);

}  // namespace torvek
