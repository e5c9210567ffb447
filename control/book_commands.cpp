// The console rows of the book tools.
#include <cstring>

#include "book/book_tools.h"
#include "book/makebook.h"
#include "book/probe.h"
#include "control/book_open.h"
#include "control/console_commands.h"
#include "board/board.h"
#include "core/output.h"

namespace torvek {

void cmd_help_book(const char*) { print_book_help(); }

// The row matches "makebook" with or without options, so that the bare word
// runs with every default; anything glued to the word is no such command.
void cmd_makebook(const char* args) {
  if (*args && *args != ' ') {
    Print("");
    Print("Error (unknown command): makebook%s", args);
    return;
  }
  makebook(args);
}

void cmd_mergebooks(const char* args) { mergebooks(args); }

void cmd_bookmoves(const char*) {
  open_engine_book(true);
  bookmoves(engineBook, topBoard);
}

void cmd_1000test(const char*) {
  open_engine_book(true);
  test1000(engineBook, topBoard);
}

void cmd_editbook(const char*) {
  open_engine_book();
  editbook(engineBook);
}

}  // namespace torvek
