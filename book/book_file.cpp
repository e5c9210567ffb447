// Book file access: big-endian integers, entries, the on-disk binary search.
#include "book/book_file.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "core/output.h"

namespace torvek {

namespace {

void forget_position(Book& book) { book.next_entry = -1; }

}  // namespace

Book::~Book() {
  if (file) std::fclose(file);
  book_free_table(*this);
}

int entry_percent(const BookEntry& e) {
  int divisor = e.games ? 2 * e.games : 1;
  return e.value * 100 / divisor;
}

int entry_weight(const BookEntry& e) {
  return is_nag_value(e.value) ? e.value : entry_percent(e);
}

bool entry_before(const BookEntry& a, const BookEntry& b) {
  if (a.key != b.key) return a.key < b.key;
  return entry_weight(a) > entry_weight(b);
}

namespace {

enum OpenResult { kOpened, kOpenFailed, kSeekFailed };

OpenResult open_book_file(const char* mode, const char* path, Book& book, std::string& error) {
  if (!*path) return kOpened;
  book_close(book);
  book.path = path;
  book.file = std::fopen(path, mode);
  if (!book.file) {
    error = std::strerror(errno);
    return kOpenFailed;
  }
  struct stat info;
  if (fstat(fileno(book.file), &info) != 0 || !S_ISREG(info.st_mode)) {
    // A folder opens, but every read of it would fail.
    error = std::strerror(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    book_close(book);
    return kOpenFailed;
  }
  if (std::fseek(book.file, 0, SEEK_END) != 0) {
    error = std::strerror(errno);
    book_close(book);
    return kSeekFailed;
  }
  long size = std::ftell(book.file);
  book.entries = size > 0 ? static_cast<int>(size / kBookEntryBytes) : 0;
  if (book.entries == 0 && mode[0] != 'w')
    Print("\nError?  Empty book file. Is that your intention?\n");
  return kOpened;
}

}  // namespace

bool book_try_open(const char* mode, const char* path, Book& book, std::string& error) {
  return open_book_file(mode, path, book, error) == kOpened;
}

void book_open(const char* mode, const char* path, Book& book) {
  std::string error;
  switch (open_book_file(mode, path, book, error)) {
    case kOpened: return;
    case kSeekFailed: FatalError("While opening book fseek: %s\n", error.c_str());
    case kOpenFailed: FatalError("book_open(): can't open file '%s': %s\n", path, error.c_str());
  }
}

void book_close(Book& book) {
  forget_position(book);
  if (book.file) std::fclose(book.file);
  book.file = nullptr;
  book.entries = 0;
}

uint64_t read_integer(int bytes, FILE* file) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; i++) {
    int c = std::fgetc(file);
    if (c == EOF) {
      if (std::ferror(file)) FatalError("read_integer(): fgetc(): %s\n", std::strerror(errno));
      FatalError("read_integer(): fgetc(): EOF reached\n");
    }
    value = (value << 8) | static_cast<unsigned>(c);
  }
  return value;
}

void write_integer(int bytes, FILE* file, uint64_t value) {
  for (int i = bytes - 1; i >= 0; i--) {
    if (std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), file) == EOF)
      FatalError("write_integer(): fputc(): %s\n", std::strerror(errno));
  }
}

namespace {

uint64_t big_endian(const unsigned char* p, int bytes) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; i++) v = (v << 8) | p[i];
  return v;
}

}  // namespace

bool read_entry(int i, Book& book, BookEntry& entry) {
  if (i < 0 || i >= book.entries || !book.file) return false;
  if (book.next_entry == i + 1) {
    entry = book.last_read;
    return true;
  }
  // Sequential reads (the merge walk, a key run) need no seek.
  if (book.next_entry != i) {
    if (std::fseek(book.file, static_cast<long>(i) * kBookEntryBytes, SEEK_SET) != 0)
      FatalError("read_entry(): fseek(): %s\n", std::strerror(errno));
  }
  book.next_entry = -1;
  unsigned char bytes[kBookEntryBytes];
  if (std::fread(bytes, 1, sizeof bytes, book.file) != sizeof bytes) {
    if (std::ferror(book.file)) FatalError("read_integer(): fgetc(): %s\n", std::strerror(errno));
    FatalError("read_integer(): fgetc(): EOF reached\n");
  }
  entry.key = big_endian(bytes, 8);
  entry.move = static_cast<uint16_t>(big_endian(bytes + 8, 2));
  entry.value = static_cast<uint16_t>(big_endian(bytes + 10, 2));
  entry.games = static_cast<uint16_t>(big_endian(bytes + 12, 2));
  entry.reserved = static_cast<uint16_t>(big_endian(bytes + 14, 2));
  book.last_read = entry;
  book.next_entry = i + 1;
  return true;
}

void encode_entry(const BookEntry& e, unsigned char* out) {
  for (int i = 0; i < 8; i++) out[i] = static_cast<unsigned char>(e.key >> (56 - 8 * i));
  const uint16_t words[4] = {e.move, e.value, e.games, e.reserved};
  for (int w = 0; w < 4; w++) {
    out[8 + 2 * w] = static_cast<unsigned char>(words[w] >> 8);
    out[9 + 2 * w] = static_cast<unsigned char>(words[w] & 0xFF);
  }
}

void write_entry(FILE* file, const BookEntry& e) {
  write_integer(8, file, e.key);
  write_integer(2, file, e.move);
  write_integer(2, file, e.value);
  write_integer(2, file, e.games);
  write_integer(2, file, e.reserved);
}

int book_find(Book& book, uint64_t key) {
  if (book.entries <= 0) return book.entries;
  int lo = 0, hi = book.entries - 1;
  BookEntry e;
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    read_entry(mid, book, e);
    if (e.key < key)
      lo = mid + 1;
    else
      hi = mid;
  }
  read_entry(lo, book, e);
  return e.key == key ? lo : book.entries;
}

bool book_has_position(Book& book, uint64_t key) { return book_find(book, key) < book.entries; }

bool book_update_entry(Book& book, uint64_t key, int move, int points) {
  BookEntry e;
  for (int i = book_find(book, key); read_entry(i, book, e) && e.key == key; i++) {
    if (e.move != move) continue;
    if (is_nag_value(e.value)) return true;
    if (e.value + points + 1 > 0xFFFF || e.games == 0xFFFF) return true;
    e.value = static_cast<uint16_t>(e.value + points + 1);
    e.games = static_cast<uint16_t>(e.games + 1);
    forget_position(book);
    if (std::fseek(book.file, static_cast<long>(i) * kBookEntryBytes, SEEK_SET) != 0)
      FatalError("read_entry(): fseek(): %s\n", std::strerror(errno));
    write_entry(book.file, e);
    std::fflush(book.file);
    return true;
  }
  return false;
}

}  // namespace torvek
