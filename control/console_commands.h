// Handlers of the console table. Each is defined by the module that owns the
// command; all receive the text after the row's prefix.
#pragma once

namespace torvek {

// control/console.cpp
void cmd_help(const char* args);
void cmd_quiet(const char* args);
void cmd_eval(const char* args);

// board commands (listings, mirrors, perft)
void cmd_d(const char* args);
void cmd_printepd(const char* args);
void cmd_pieces(const char* args);
void cmd_moves(const char* args);
void cmd_perft(const char* args);
void cmd_perftm(const char* args);
void cmd_mirror(const char* args);
void cmd_mirror_fen(const char* args);
void cmd_mirrorside(const char* args);
void cmd_mirrorside_fen(const char* args);

// book rows (control/book_commands.cpp)
void cmd_help_book(const char* args);
void cmd_makebook(const char* args);
void cmd_mergebooks(const char* args);
void cmd_bookmoves(const char* args);
void cmd_1000test(const char* args);
void cmd_editbook(const char* args);

}  // namespace torvek
