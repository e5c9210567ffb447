// Console views of the position and the perft counters. The game position is
// topBoard; listings and counters work on the search's own copy so that they
// never touch it.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "board/board.h"
#include "board/fen.h"
#include "board/listing.h"
#include "board/movetext.h"
#include "board/perft.h"
#include "control/console_commands.h"
#include "control/dispatcher.h"
#include "control/params.h"
#include "core/output.h"
#include "core/text.h"
#include "search/context.h"

namespace torvek {

namespace {

void print_epd_line(const Board& b) {
  write_line(epd_line(b, static_cast<long long>(std::time(nullptr))).c_str());
}

// The WinBoard program shows the game as its record has it.
void rebuild_from_game() {
  if (commandHandler.rebuildBoard) commandHandler.rebuildBoard();
}

// Sets topBoard to a mirrored copy of itself and shows the result; the
// WinBoard program also starts its game record from it, in force mode.
void mirror_current(std::string (*mirror)(const char*)) {
  rebuild_from_game();
  std::string fen;
  write_fen(topBoard, fen);
  std::string mirrored = mirror(fen.c_str());
  SetupFEN(topBoard, mirrored.c_str());
  print_board(stdout, topBoard);
  print_epd_line(topBoard);
  if (commandHandler.startFromFen) commandHandler.startFromFen(mirrored.c_str());
}

}  // namespace

void cmd_d(const char*) {
  rebuild_from_game();
  print_board(stdout, topBoard);
  print_epd_line(topBoard);
}

void cmd_printepd(const char*) { print_epd_line(topBoard); }

void cmd_pieces(const char*) {
  print_board(stdout, topBoard);
  write_raw(pieces_text(topBoard).c_str());
}

void cmd_moves(const char*) {
  Board& b = searchContext.search_board;
  // Before the first search, perft or evaluation the working copy is empty.
  if (b.menCount == 0) b = topBoard;
  write_raw(moves_text(b).c_str());
}

void cmd_perft(const char* args) {
  args = skip_blanks(args);
  if (!*args) return;
  searchContext.search_board = topBoard;
  double count = 0;
  perft(searchContext.search_board, static_cast<int>(read_number(args)), 0, count, false);
}

void cmd_perftm(const char* args) {
  args = skip_blanks(args);
  if (!*args) return;
  searchContext.search_board = topBoard;
  perftm(searchContext.search_board, static_cast<int>(read_number(args)), false);
}

void cmd_mirror(const char*) { mirror_current(mirror_fen_rows); }
void cmd_mirrorside(const char*) { mirror_current(mirror_fen_files); }
void cmd_mirror_fen(const char* args) { write_line(mirror_fen_rows(skip_blanks(args)).c_str()); }
void cmd_mirrorside_fen(const char* args) { write_line(mirror_fen_files(skip_blanks(args)).c_str()); }

}  // namespace torvek
