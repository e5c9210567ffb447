// Board diagram, pieces listing, moves listing and EPD line.
#include "board/listing.h"

#include <cstdio>

#include "board/board.h"
#include "board/fen.h"
#include "board/movegen.h"
#include "board/movetext.h"

namespace torvek {

namespace {

constexpr const char* kRule = "\n   +---+---+---+---+---+---+---+---+\n";

std::string square_name(int sq) {
  char text[4];
  return square_to_text(sq, text, sizeof text) ? text : "??";
}

void list_men(const Board& b, const int* list, std::string& out) {
  int previous = -1;
  for (const int* p = list; *p; p++) {
    int code = b.squares[*p];
    if (code != previous) {
      out += '\n';
      out += kPieceLetters[pieceIndexOfCode[code]];
      out += " at ";
    } else {
      out += ' ';
    }
    out += square_name(*p);
    previous = code;
  }
}

}  // namespace

std::string board_text(const Board& b) {
  std::string out = kRule;
  char cell[8];
  for (int row = 11; row >= 4; row--) {
    std::snprintf(cell, sizeof cell, " %d |", row - 3);
    out += cell;
    for (int col = 4; col <= 11; col++) {
      int code = b.squares[make_square(row, col)];
      char letter = code == kEmpty || pieceIndexOfCode[code] < 0 ? ' ' : kPieceLetters[pieceIndexOfCode[code]];
      std::snprintf(cell, sizeof cell, " %c |", letter);
      out += cell;
    }
    out += kRule;
  }
  out += "     A   B   C   D   E   F   G   H\n\n";
  return out;
}

void print_board(FILE* out, const Board& b) {
  std::fputs(board_text(b).c_str(), out);
  std::fflush(out);
}

std::string pieces_text(const Board& b) {
  std::string out;
  for (int s = 0; s < 2; s++) {
    list_men(b, b.pieceList[s], out);
    list_men(b, b.pawnList[s], out);
  }
  return out + "\n";
}

std::string moves_text(Board& b) {
  MoveList list;
  list.count = 0;
  gen_legal(b, list);
  std::string out = std::to_string(list.count) + " moves\n";
  char text[8];
  for (int i = 0; i < list.count; i++) {
    move_to_text(list.moves[i], text, sizeof text);
    out += text;
    out += ' ';
  }
  return out + "\n";
}

std::string epd_line(const Board& b, long long seconds) {
  std::string id = "c" + std::to_string(seconds);
  std::string out;
  write_fen(b, out, id.c_str());
  return out;
}

}  // namespace torvek
