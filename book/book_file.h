// The book file: fixed 16-byte entries, big-endian, sorted by position key
// and, within a key, by weight. The engine never loads a book; every probe
// is a binary search on disk. The same record serves as the engine's open
// book and as the working object of the book tools, whose in-memory build
// table (a growable array with an open-addressing index) lives here too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace torvek {

class Board;

constexpr int kBookEntryBytes = 16;
constexpr int kValueAlways = 16485;  // "!!"
constexpr int kValueStrong = 16484;  // "!"
constexpr int kValueNever = 0;       // "?" and "??"
constexpr int kNagGames = 32766;     // games of a NAG entry: frozen

struct BookEntry {
  uint64_t key = 0;
  uint16_t move = 0;
  uint16_t value = 0;
  uint16_t games = 0;
  uint16_t reserved = 0;  // in memory while building: side to move
};

struct Book {
  std::string path;
  FILE* file = nullptr;
  int entries = 0;
  int next_entry = -1;  // entry the stream stands at; -1 unknown
  BookEntry last_read;  // entry next_entry - 1, read again without the file
  // Build table.
  BookEntry* items = nullptr;
  int count = 0;
  int capacity = 0;
  int* index = nullptr;
  int index_mask = 0;
  // Filters of makebook.
  int mingame = 3;
  int maxply = 256;
  double minscore = 0;
  bool white_only = false, black_only = false;
  bool score_mode = true;

  Book() = default;
  Book(const Book&) = delete;
  Book& operator=(const Book&) = delete;
  ~Book();
};

// A NAG marker value (16485, 16484 or 0).
inline bool is_nag_value(int value) {
  return value == kValueAlways || value == kValueStrong || value == kValueNever;
}
// value * 100 / (2 * games), divisor 1 for games 0.
int entry_percent(const BookEntry& e);
// The NAG value itself, otherwise the percentage.
int entry_weight(const BookEntry& e);
// Key ascending (unsigned), then weight descending.
bool entry_before(const BookEntry& a, const BookEntry& b);

// Opens with a stdio mode; every failure is fatal (the tools' files).
void book_open(const char* mode, const char* path, Book& book);
// The same without ending the program: false with the C library's error
// text in `error`. For the engine's own book.
bool book_try_open(const char* mode, const char* path, Book& book, std::string& error);
void book_close(Book& book);

uint64_t read_integer(int bytes, FILE* file);
void write_integer(int bytes, FILE* file, uint64_t value);
bool read_entry(int i, Book& book, BookEntry& entry);
void write_entry(FILE* file, const BookEntry& entry);
// The 16 file bytes of an entry.
void encode_entry(const BookEntry& entry, unsigned char* out);
// First entry of the key, or book.entries when the key is absent.
int book_find(Book& book, uint64_t key);
bool book_has_position(Book& book, uint64_t key);
// Adds a played game's result to the entry of (key, move) in the open file;
// NAG entries are left alone. False when there is no such entry.
bool book_update_entry(Book& book, uint64_t key, int move, int points);

// Build table.
void book_alloc(Book& book);
void book_free_table(Book& book);
int book_table_insert(Book& book, const Board& board, int move);
void book_table_halve(Book& book, uint64_t key);
void book_sort(Book& book);
// Writes the table under a temporary name beside `path` and renames it over
// the target only when the file is complete.
void book_save(const char* path, Book& book);

// "<path>.tmpNNNN" in the same folder, and the commit that renames it.
std::string temporary_name(const char* path);
void commit_temporary(const std::string& temp, const char* path);

}  // namespace torvek
