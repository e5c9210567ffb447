// Command tables and the dispatcher. A table is an array of rows ended by a
// row with a null name; "help" prints from the console table, so the listing
// cannot drift from what is dispatched.
#pragma once

#include <string>


namespace torvek {

// Protocol handlers receive the whole line, console handlers the text after
// the row's prefix. Whatever runs releases the line (release_line) when its
// work is done, or before it starts a search.
using CommandFn = void (*)(const char* args);

struct CommandEntry {
  const char* name;
  int prefixLength;  // 0: whole line must equal name; n: first n characters
  CommandFn handler;
  const char* description;
};

class CommandHandler {
 public:
  const CommandEntry* protocolTable = nullptr;
  const CommandEntry* consoleTable = nullptr;
  // Sets the root board from a pasted FEN line, the way this protocol does.
  void (*setupPastedFen)(const char* line) = nullptr;
  // The WinBoard program's game record, for the console and the polling
  // point (null in the UCI program): set topBoard from the record (false
  // when it has no position), whether an analysis runs, and a position
  // handed to the game as its new start.
  bool (*rebuildBoard)() = nullptr;
  bool (*analyzing)() = nullptr;
  void (*startFromFen)(const char* fen) = nullptr;
};

extern CommandHandler commandHandler;

// The console table, the same in both programs.
extern const CommandEntry kConsoleTable[];

// Dispatches one line; true when the session must end. Trailing spaces are
// cut from `line` in place.
bool HandleInput(std::string& line);

// Case-insensitive row match as the dispatcher does it.
bool entry_matches(const CommandEntry& entry, const std::string& line);

}  // namespace torvek
