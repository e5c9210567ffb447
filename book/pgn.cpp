#include "book/pgn.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <strings.h>

#include "core/output.h"

namespace torvek {

namespace {

bool is_symbol_start(int c) { return c < 128 && std::isalnum(c); }
bool is_symbol_char(int c) { return is_symbol_start(c) || (c < 128 && c > 0 && std::strchr("_+#=:-/", c)); }
bool is_space(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

void push_back_char(PgnReader& r) { r.char_pushed_back = true; }

void add_text(PgnReader& r, int c) {
  r.text[r.length++] = static_cast<char>(c);
  r.text[r.length] = 0;
}

void skip_to_line_end(PgnReader& r) {
  while (r.ch != '\n' && r.ch != kPgnEof) read_char(r);
}

// White space, ";" and "%" lines, and brace comments.
void skip_separators(PgnReader& r) {
  for (;;) {
    if (is_space(r.ch)) {
      read_char(r);
    } else if (r.ch == ';' || (r.ch == '%' && r.column == 0)) {
      skip_to_line_end(r);
    } else if (r.ch == '{') {
      int line = r.line, column = r.column;
      while (r.ch != '}' && r.ch != kPgnEof) read_char(r);
      if (r.ch == kPgnEof) FatalError("unexpected EOF in PGN file at line %d, pos %d\n", line, column);
      read_char(r);
    } else {
      return;
    }
  }
}

void read_symbol(PgnReader& r) {
  bool digits = true;
  while (is_symbol_char(r.ch)) {
    if (r.length == kTokenText - 1) FatalError("error in pgn file in line %d, pos %d\n", r.line, r.column);
    if (!std::isdigit(r.ch)) digits = false;
    add_text(r, r.ch);
    read_char(r);
  }
  push_back_char(r);
  r.token = digits ? kTokenInteger : kTokenSymbol;
  if (!std::strcmp(r.text, "1-0") || !std::strcmp(r.text, "0-1") || !std::strcmp(r.text, "1/2-1/2"))
    r.token = kTokenResult;
}

void read_string(PgnReader& r) {
  for (;;) {
    read_char(r);
    if (r.ch == kPgnEof) FatalError("unexpected EOF in PGN file at line %d, pos %d\n", r.line, r.column);
    if (r.ch == '"') break;
    int c = r.ch;
    if (c == '\\') {
      read_char(r);
      if (r.ch == kPgnEof) FatalError("unexpected EOF in PGN file at line %d, pos %d\n", r.line, r.column);
      if (r.ch != '"' && r.ch != '\\') {
        if (r.length >= kTokenText - 1)
          FatalError("PGN file error, string too long in line %d, pos %d\n", r.line, r.column);
        add_text(r, '\\');
      }
      c = r.ch;
    }
    if (r.length >= kTokenText - 1)
      FatalError("PGN file error, string too long in line %d, pos %d\n", r.line, r.column);
    add_text(r, c);
  }
  r.token = kTokenString;
}

void read_dollar_nag(PgnReader& r) {
  read_char(r);
  while (r.ch < 128 && std::isdigit(r.ch)) {
    if (r.length == 3) FatalError("unexpected long NAG, line %d, pos %d\n", r.token_line, r.token_column);
    add_text(r, r.ch);
    read_char(r);
  }
  push_back_char(r);
  if (r.length == 0) FatalError("unexpected NAG, line %d, pos %d\n", r.token_line, r.token_column);
  r.token = kTokenNag;
}

// "!" or "?" and what may follow it: "!!", "??", "!?" (5), "?!" (6).
void read_mark(PgnReader& r) {
  const int first = r.ch;
  read_char(r);
  const int second = r.ch;
  r.token = kTokenNag;
  if (second == first) {
    add_text(r, first);
    add_text(r, first);
  } else if (second == '?' || second == '!') {
    add_text(r, first == '!' ? '5' : '6');
  } else {
    add_text(r, first);
    push_back_char(r);
  }
}

[[noreturn]] void lexical_error(const PgnReader& r) {
  FatalError("next_token(): lexical error at line %d, pos %d\n", r.token_line, r.token_column);
}

}  // namespace

PgnReader::~PgnReader() { pgn_close(*this); }

void pgn_open(PgnReader& r, const char* path) {
  pgn_close(r);
  r.file = std::fopen(path, "r");
  if (!r.file) FatalError("pgn_open(): can't open file '%s': %s\n", path, std::strerror(errno));
  r.ch = 0;
  r.line = 1;
  r.column = 0;
  r.first = true;
  r.token = -1;
  r.length = 0;
  r.text[0] = 0;
  r.pushed_back = r.char_pushed_back = false;
  std::strcpy(r.result, "*");
  r.fen[0] = 0;
}

void pgn_close(PgnReader& r) {
  if (r.file) std::fclose(r.file);
  r.file = nullptr;
}

void read_char(PgnReader& r) {
  if (r.char_pushed_back) {
    r.char_pushed_back = false;
    return;
  }
  if (r.first) {
    r.first = false;
  } else if (r.ch == '\n') {
    r.line++;
    r.column = 0;
  } else if (r.ch == '\t') {
    r.column = (r.column / 8 + 1) * 8;
  } else if (r.ch != kPgnEof) {
    r.column++;
  }
  int c = getc_unlocked(r.file);
  if (c == EOF) {
    if (std::ferror(r.file)) FatalError("fgetc() error: %s\n", std::strerror(errno));
    c = kPgnEof;
  }
  r.ch = c;
}

void next_token(PgnReader& r) {
  if (r.pushed_back) {
    r.pushed_back = false;
    return;
  }
  read_char(r);
  skip_separators(r);
  r.token_line = r.line;
  r.token_column = r.column;
  r.length = 0;
  r.text[0] = 0;
  const int c = r.ch;
  if (c == kPgnEof) {
    push_back_char(r);  // every later read stays at the end
    r.token = kPgnEof;
  } else if (std::strchr(".[]()<>", c)) {
    r.token = c;
    add_text(r, c);
  } else if (c == '*') {
    r.token = kTokenResult;
    add_text(r, c);
  } else if (c == '!' || c == '?') {
    read_mark(r);
  } else if (is_symbol_start(c)) {
    read_symbol(r);
  } else if (c == '"') {
    read_string(r);
  } else if (c == '$') {
    read_dollar_nag(r);
  } else {
    r.token = -1;
    lexical_error(r);
  }
}

bool read_game_header(PgnReader& r) {
  std::strcpy(r.result, "*");
  r.fen[0] = 0;
  for (;;) {
    next_token(r);
    if (r.token != '[') {
      if (r.token == kPgnEof) return false;
      r.pushed_back = true;
      return true;
    }
    char name[kTokenText];
    next_token(r);
    if (r.token != kTokenSymbol) FatalError("Pgn string error in line %d, pos %d\n", r.token_line, r.token_column);
    std::strcpy(name, r.text);
    next_token(r);
    if (r.token != kTokenString) FatalError("Pgn string error in line %d, pos %d\n", r.token_line, r.token_column);
    if (strcasecmp(name, "Result") == 0) std::strcpy(r.result, r.text);
    if (strcasecmp(name, "FEN") == 0) std::strcpy(r.fen, r.text);
    next_token(r);
    if (r.token != ']') FatalError("Pgn string error in line %d, pos %d\n", r.token_line, r.token_column);
  }
}

namespace {

// NAGs after a move or anywhere else; the first token after them stays.
void drop_nags(PgnReader& r) {
  while (r.token == kTokenNag) next_token(r);
}

}  // namespace

bool read_move(PgnReader& r, char* move, char* nag, int size) {
  r.move_line = r.move_column = 0;
  move[0] = nag[0] = 0;
  int depth = 0;
  for (;;) {
    next_token(r);
    // A NAG that follows no move (after a variation, at the start of a
    // game) is annotation all the same: dropped.
    drop_nags(r);
    if (r.token == '(') {
      depth++;
      continue;
    }
    if (r.token == ')') {
      if (depth == 0) FatalError("strange moves at line %d, pos %d\n", r.token_line, r.token_column);
      depth--;
      continue;
    }
    if (r.token == '[') {
      if (depth > 0) FatalError("strange character '[' at line %d, position %d\n", r.token_line, r.token_column);
      r.pushed_back = true;
      return false;
    }
    if (r.token == kTokenInteger) {
      do next_token(r);
      while (r.token == '.');
      drop_nags(r);
    } else if (r.token == kTokenResult) {
      if (depth > 0) FatalError("strange result at line %d, position %d\n", r.token_line, r.token_column);
      return false;
    }
    if (r.token == kPgnEof) {
      r.pushed_back = true;
      return false;
    }
    if (r.token != kTokenSymbol) FatalError("not a move at line %d, pos %d\n", r.token_line, r.token_column);
    const bool mainLine = depth == 0;
    if (mainLine) {
      if (r.length >= size) FatalError("error in pgn, too long move at line %d, pos %d\n", r.token_line, r.token_column);
      std::memcpy(move, r.text, r.length + 1);
      r.move_line = r.token_line;
      r.move_column = r.token_column;
    }
    next_token(r);
    if (r.token == kTokenNag && mainLine && r.length < size) std::memcpy(nag, r.text, r.length + 1);
    drop_nags(r);
    r.pushed_back = true;
    if (mainLine) return true;
  }
}

}  // namespace torvek
