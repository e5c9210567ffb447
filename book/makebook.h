// Book making from PGN: every main-line move of every game up to a ply limit
// goes into the build table with the game's result; NAGs mark moves as
// always, strong or never; the table is filtered, sorted and saved.
#pragma once

#include <string>

#include "book/book_file.h"

namespace torvek {

struct MakebookSettings {
  std::string pgn = "book.pgn";
  std::string book = "Torvek.book";
  int maxply = 999;
  int mingame = 3;
  double minscore = 50.0;
  bool white = false, black = false;
  bool failed = false;
};

struct LoadCounts {
  int games = 0;
  int setup_games = 0;    // games from a set-up position, skipped whole
  int illegal_games = 0;  // games abandoned at an illegal move
};

// Parses the options of a makebook line, printing the Part's messages.
MakebookSettings parse_makebook_options(const char* args);
// Reads every game of the PGN file into the build table of `book`.
LoadCounts load_games(const char* pgnPath, Book& book);
bool keep_entry(const Book& book, const BookEntry& entry);
// The console command (text after "makebook").
void makebook(const char* args);
// "help book".
void print_book_help();

}  // namespace torvek
