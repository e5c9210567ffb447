#include "book/makebook.h"

#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "board/board.h"
#include "board/fen.h"
#include "board/make.h"
#include "book/pgn.h"
#include "book/san.h"
#include "core/output.h"
#include "core/text.h"

namespace torvek {

namespace {

constexpr int kMoveBuffer = 256;

const char* skip_to_blank(const char* s) {
  while (*s && *s != ' ') s++;
  return s;
}

// "-pgn " and "-book ": the word that follows, or the default with a note.
const char* read_file_name(const char* s, std::string& name, const char* missing) {
  s = skip_blanks(s);
  const char* end = skip_to_blank(s);
  if (end == s)
    Print("%s", missing);
  else
    name.assign(s, end);
  return end;
}

// Plain integer conversion, saturated at the int range.
int read_int(const char* s) {
  long v = std::strtol(s, nullptr, 10);
  if (v > 2147483647L) return 2147483647;
  if (v < -2147483647L) return -2147483647;
  return static_cast<int>(v);
}

bool starts_with(const char* s, const char* word) { return std::strncmp(s, word, std::strlen(word)) == 0; }

// A FEN tag of anything but the initial position (counters aside).
bool is_setup_position(const char* fen) {
  if (!*fen) return false;
  static const char* const kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
  return std::strncmp(fen, kStart, std::strlen(kStart)) != 0 ||
         (fen[std::strlen(kStart)] != 0 && fen[std::strlen(kStart)] != ' ');
}

int result_sign(const char* result) {
  if (strcasecmp(result, "1-0") == 0) return 1;
  if (strcasecmp(result, "0-1") == 0) return -1;
  return 0;
}

void skip_rest_of_game(PgnReader& reader, char* move, char* nag) {
  while (read_move(reader, move, nag, kMoveBuffer)) {
  }
}

// The game's result, or the annotation, into the entry of the move played.
void count_move(Book& book, int item, const char* nag, int r) {
  BookEntry& e = book.items[item];
  if (!std::strcmp(nag, "!!")) {
    e.value = kValueAlways;
    e.games = kNagGames;
  } else if (!std::strcmp(nag, "!")) {
    e.value = kValueStrong;
    e.games = kNagGames;
  } else if (!std::strcmp(nag, "?") || !std::strcmp(nag, "??")) {
    e.value = kValueNever;
    e.games = kNagGames;
  } else if (!(e.games == kNagGames && is_nag_value(e.value))) {
    e.value = static_cast<uint16_t>(e.value + r + 1);
    e.games = static_cast<uint16_t>(e.games + 1);
  }
  if ((e.value >= 16384 && e.value < kValueStrong) || e.games >= 32767) book_table_halve(book, e.key);
}

// Plays one game into the table; false when it was abandoned at an
// illegal move.
bool load_game(PgnReader& reader, Book& book, int g) {
  SetupFEN(topBoard, kStartFen);
  int r = result_sign(reader.result);
  char move[kMoveBuffer], nag[kMoveBuffer];
  for (int ply = 0; read_move(reader, move, nag, kMoveBuffer); ply++) {
    if (ply >= book.maxply) continue;
    char pattern[kPatternSize];
    int m = san_to_pattern(kPatternSize, topBoard, move, pattern) ? pattern_to_move(topBoard, pattern) : 0;
    if (!m) {
      Print("illegal move '%s' at line %d, pos %d, game %d\n", move, reader.move_line, reader.move_column, g);
      skip_rest_of_game(reader, move, nag);
      return false;
    }
    count_move(book, book_table_insert(book, topBoard, m), nag, r);
    UndoInfo undo;
    make_move(topBoard, m, undo);
    r = -r;
  }
  return true;
}

int compact(Book& book) {
  int kept = 0;
  for (int i = 0; i < book.count; i++)
    if (keep_entry(book, book.items[i])) book.items[kept++] = book.items[i];
  book.count = kept;
  return kept;
}

int count_positions(const Book& book) {
  int positions = 0;
  for (int i = 0; i < book.count; i++)
    if (i == 0 || book.items[i].key != book.items[i - 1].key) positions++;
  return positions;
}

}  // namespace

MakebookSettings parse_makebook_options(const char* args) {
  MakebookSettings s;
  const char* p = args;
  for (;;) {
    p = skip_blanks(p);
    if (!*p) break;
    if (starts_with(p, "-pgn ")) {
      p = read_file_name(p + 5, s.pgn, "No pgn file given - will use book.pgn");
    } else if (starts_with(p, "-book ")) {
      p = read_file_name(p + 6, s.book, "No book file given - will use torvek.book");
    } else if (starts_with(p, "-maxply ")) {
      p = skip_blanks(p + 8);
      s.maxply = read_int(p);
      if (s.maxply < 1) {
        Print("Error in -maxply. Should be a value > 0");
        s.failed = true;
      }
      p = skip_to_blank(p);
    } else if (starts_with(p, "-mingame ")) {
      p = skip_blanks(p + 9);
      s.mingame = read_int(p);
      if (s.mingame < 0) {
        Print("Error in -mingame. Should be a value >= 0");
        s.failed = true;
      }
      p = skip_to_blank(p);
    } else if (starts_with(p, "-minscore ")) {
      p = skip_blanks(p + 10);
      s.minscore = std::strtod(p, nullptr);
      if (!(s.minscore >= 0 && s.minscore <= 100)) {
        Print("Error in -minscore. Should be a value 0-100, where 0 is all lost, 50 is even, 100 is all won");
        s.failed = true;
      }
      p = skip_to_blank(p);
    } else if (starts_with(p, "-white")) {
      s.white = true;
      p += 6;
    } else if (starts_with(p, "-black")) {
      s.black = true;
      p += 6;
    } else if (std::strcmp(p, "-noscore") == 0) {
      p += 8;
    } else {
      Print("unknown parameter in makebook: '%s' ", p);
      s.failed = true;
      p = skip_to_blank(p);
    }
  }
  return s;
}

LoadCounts load_games(const char* pgnPath, Book& book) {
  LoadCounts counts;
  book_alloc(book);
  PgnReader reader;
  pgn_open(reader, pgnPath);
  char move[kMoveBuffer], nag[kMoveBuffer];
  int& g = counts.games;
  while (read_game_header(reader)) {
    if (is_setup_position(reader.fen)) {
      // Its moves belong to another position than the one the book would
      // put them in.
      skip_rest_of_game(reader, move, nag);
      counts.setup_games++;
    } else if (!load_game(reader, book, g)) {
      counts.illegal_games++;
    }
    g++;
    if (g % 10000 == 0) Print("at game number %d, line %d", g, reader.line);
  }
  pgn_close(reader);
  Print("%d games with alltogether %d entries\n", g, book.count);
  return counts;
}

bool keep_entry(const Book& book, const BookEntry& e) {
  if (e.games < book.mingame) return false;
  int weight = book.score_mode ? entry_weight(e) : 1;
  bool neverMarker = e.value == kValueNever && e.games == kNagGames;
  if (weight < book.minscore && !neverMarker) return false;
  if (book.white_only && e.reserved != kWhite) return false;
  if (book.black_only && e.reserved != kBlack) return false;
  return true;
}

void makebook(const char* args) {
  MakebookSettings s = parse_makebook_options(args);
  if (s.failed) return;
  Book book;
  book.maxply = s.maxply;
  book.mingame = s.mingame;
  book.minscore = s.minscore;
  bool oneSide = s.white != s.black;
  book.white_only = oneSide && s.white;
  book.black_only = oneSide && s.black;
  Print("loading games");
  LoadCounts counts = load_games(s.pgn.c_str(), book);
  Print("applying conditions");
  Print("%d entries.\n", compact(book));
  Print("sort");
  book_sort(book);
  Print("save");
  book_save(s.book.c_str(), book);
  Print("%d games read (%d from a set-up position skipped, %d with an illegal move), "
        "%d positions, %d entries written to %s",
        counts.games, counts.setup_games, counts.illegal_games, count_positions(book), book.count,
        s.book.c_str());
  Print("");
}

}  // namespace torvek
