// Helpers of the book tests: a scratch folder, files written from text or
// entries, file bytes, and boards from FEN.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "board/fen.h"
#include "board/movetext.h"
#include "book/book_file.h"
#include "board/board_test_util.h"

namespace torvek::book_test {

using testing_util::board_from;

inline std::string scratch_dir() {
  static std::string dir;
  if (dir.empty()) {
    char name[] = "/tmp/torvek_book_testXXXXXX";
    dir = mkdtemp(name);
  }
  return dir;
}

inline std::string scratch(const std::string& name) { return scratch_dir() + "/" + name; }

inline std::string write_text(const std::string& name, const std::string& text) {
  std::string path = scratch(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

inline std::vector<unsigned char> file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

inline std::string write_book(const std::string& name, const std::vector<BookEntry>& entries) {
  std::string path = scratch(name);
  FILE* f = std::fopen(path.c_str(), "wb");
  for (const BookEntry& e : entries) write_entry(f, e);
  std::fclose(f);
  return path;
}

inline std::vector<BookEntry> read_book(const std::string& path) {
  Book book;
  book_open("rb", path.c_str(), book);
  std::vector<BookEntry> out;
  BookEntry e;
  for (int i = 0; read_entry(i, book, e); i++) out.push_back(e);
  return out;
}

inline BookEntry entry(uint64_t key, int move, int value, int games) {
  BookEntry e;
  e.key = key;
  e.move = static_cast<uint16_t>(move);
  e.value = static_cast<uint16_t>(value);
  e.games = static_cast<uint16_t>(games);
  return e;
}

inline uint64_t key_of(const char* fen) { return board_from(fen)->hashKey; }

inline int move_of(const char* fen, const char* text) { return text_to_move(*board_from(fen), text); }

}  // namespace torvek::book_test
