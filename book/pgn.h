// A streaming PGN reader: characters with line and column, tokens, the tag
// section of a game (Result and FEN kept) and the main-line moves with their
// first NAG; move numbers, comments and variations are skipped. Errors in the
// file are fatal and name the line and column.
#pragma once

#include <cstdio>

namespace torvek {

constexpr int kPgnEof = 280;
constexpr int kTokenSymbol = 260;
constexpr int kTokenString = 261;
constexpr int kTokenInteger = 262;
constexpr int kTokenNag = 263;
constexpr int kTokenResult = 264;
constexpr int kTokenText = 256;

struct PgnReader {
  FILE* file = nullptr;
  int ch = 0;
  int line = 1;
  int column = 0;
  bool first = true;
  int token = -1;
  char text[kTokenText] = {};
  int length = 0;
  int token_line = 0, token_column = 0;
  bool pushed_back = false;
  bool char_pushed_back = false;
  char result[kTokenText] = "*";
  char fen[kTokenText] = {};
  int move_line = 0, move_column = 0;

  PgnReader() = default;
  PgnReader(const PgnReader&) = delete;
  PgnReader& operator=(const PgnReader&) = delete;
  ~PgnReader();
};

void pgn_open(PgnReader& reader, const char* path);
void pgn_close(PgnReader& reader);
void read_char(PgnReader& reader);
void next_token(PgnReader& reader);
// False when the file holds no further game.
bool read_game_header(PgnReader& reader);
// False at the end of the game; otherwise the next main-line move in `move`
// and its first NAG (or an empty text) in `nag`, both `size` long.
bool read_move(PgnReader& reader, char* move, char* nag, int size);

}  // namespace torvek
