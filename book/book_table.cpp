// The in-memory build table of the book tools: entries in insertion order
// with an open-addressing index (twice as many slots as entries, linear
// probing from the key's lower half), growth by doubling, and the save.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "board/board.h"
#include "book/book_file.h"
#include "core/output.h"

namespace torvek {

namespace {

int first_slot(const Book& book, uint64_t key) {
  return static_cast<int>(static_cast<uint32_t>(key) & static_cast<uint32_t>(book.index_mask));
}

void reindex(Book& book) {
  for (int i = 0; i <= book.index_mask; i++) book.index[i] = -1;
  for (int n = 0; n < book.count; n++) {
    int slot = first_slot(book, book.items[n].key);
    while (book.index[slot] != -1) slot = (slot + 1) & book.index_mask;
    book.index[slot] = n;
  }
}

void grow(Book& book) {
  const int old = book.capacity;
  if (old > (1 << 27)) FatalError("in resize realloc(): %s\n", std::strerror(ENOMEM));
  if (48.0 * old > 0xFFFF0) Print("more space %gMB\n", 48.0 * old / 1048576.0);
  void* items = std::realloc(book.items, sizeof(BookEntry) * 2 * old);
  if (!items) FatalError("in resize realloc(): %s\n", std::strerror(errno));
  book.items = static_cast<BookEntry*>(items);
  void* index = std::realloc(book.index, sizeof(int) * 4 * old);
  if (!index) FatalError("in resize realloc(): %s\n", std::strerror(errno));
  book.index = static_cast<int*>(index);
  book.capacity = 2 * old;
  book.index_mask = 4 * old - 1;
  reindex(book);
}

// The slot holding (key, move), or the empty slot where it belongs.
int find_slot(const Book& book, uint64_t key, int move) {
  int slot = first_slot(book, key);
  for (;;) {
    int n = book.index[slot];
    if (n == -1) return slot;
    const BookEntry& e = book.items[n];
    if (e.key == key && e.move == move) return slot;
    slot = (slot + 1) & book.index_mask;
  }
}

}  // namespace

void book_alloc(Book& book) {
  book_free_table(book);
  book.items = static_cast<BookEntry*>(std::malloc(sizeof(BookEntry)));
  book.index = static_cast<int*>(std::malloc(sizeof(int) * 2));
  if (!book.items || !book.index) FatalError("book_alloc(): malloc(): %s\n", std::strerror(errno));
  book.capacity = 1;
  book.count = 0;
  book.index_mask = 1;
  book.index[0] = book.index[1] = -1;
}

void book_free_table(Book& book) {
  std::free(book.items);
  std::free(book.index);
  book.items = nullptr;
  book.index = nullptr;
  book.count = book.capacity = book.index_mask = 0;
}

int book_table_insert(Book& book, const Board& board, int move) {
  const uint64_t key = board.hashKey;
  int slot = find_slot(book, key, move);
  if (book.index[slot] != -1) return book.index[slot];
  if (book.count == book.capacity) {
    grow(book);
    slot = find_slot(book, key, move);
  }
  BookEntry& e = book.items[book.count];
  e = BookEntry();
  e.key = key;
  e.move = static_cast<uint16_t>(move);
  e.reserved = static_cast<uint16_t>(board.side);
  book.index[slot] = book.count;
  return book.count++;
}

void book_table_halve(Book& book, uint64_t key) {
  for (int slot = first_slot(book, key); book.index[slot] != -1;
       slot = (slot + 1) & book.index_mask) {
    BookEntry& e = book.items[book.index[slot]];
    if (e.key != key) continue;
    // A NAG marker is frozen: halving its games would let later games
    // overrule the annotation.
    if (is_nag_value(e.value) && e.games == kNagGames) continue;
    if (!is_nag_value(e.value)) e.value = static_cast<uint16_t>((e.value + 1) / 2);
    e.games = static_cast<uint16_t>((e.games + 1) / 2);
  }
}

void book_sort(Book& book) {
  // Stable, so that entries of equal weight keep the order they were met in.
  std::stable_sort(book.items, book.items + book.count, entry_before);
}

std::string temporary_name(const char* path) {
  return std::string(path) + ".tmp" + std::to_string(static_cast<long>(getpid()));
}

void commit_temporary(const std::string& temp, const char* path) {
  if (std::rename(temp.c_str(), path) != 0) {
    int error = errno;
    std::remove(temp.c_str());
    FatalError("book_save(): can't open file \"%s\" for writing: %s\n", path, std::strerror(error));
  }
}

void book_save(const char* path, Book& book) {
  const std::string temp = temporary_name(path);
  FILE* out = std::fopen(temp.c_str(), "wb");
  if (!out) FatalError("book_save(): can't open file \"%s\" for writing: %s\n", path, std::strerror(errno));
  bool ok = true;
  for (int i = 0; i < book.count && ok; i++) {
    BookEntry e = book.items[i];
    if (!book.score_mode) {
      e.value = e.games = 1;
    } else if (e.games == 0) {
      e.games = 1;
    }
    e.reserved = 0;
    unsigned char bytes[kBookEntryBytes];
    encode_entry(e, bytes);
    ok = std::fwrite(bytes, 1, sizeof bytes, out) == sizeof bytes;
  }
  int error = errno;
  if (std::fclose(out) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    std::remove(temp.c_str());
    FatalError("write_integer(): fputc(): %s\n", std::strerror(error));
  }
  commit_temporary(temp, path);
}

}  // namespace torvek
