// HandleInput: the protocol table of this program first, then the console
// table, then the pasted-FEN check, then the unknown-command answer.
#include "control/dispatcher.h"

#include <cctype>
#include <strings.h>

#include "core/globals.h"
#include "core/guards.h"
#include "core/input.h"
#include "core/output.h"

namespace torvek {

CommandHandler commandHandler;

namespace {

// The stage reached, for the fault report of the WinBoard build: 0 before
// the tables, 1 testing an entry's first letter, 11 comparing a name, 3 in a
// protocol handler, 5 in a console handler. Points into the guard frame of
// the innermost HandleInput.
int unguardedStatus = 0;
int* dispatchStage = &unguardedStatus;
void set_stage(int stage) { *dispatchStage = stage; }

bool is_quit(const std::string& line) {
  return strcasecmp(line.c_str(), "quit") == 0 || strcasecmp(line.c_str(), "q") == 0;
}

const CommandEntry* find_entry(const CommandEntry* table, const std::string& line) {
  if (!table) return nullptr;
  for (const CommandEntry* e = table; e->name; e++) {
    if (!e->handler) continue;
    set_stage(1);
    if (std::tolower(static_cast<unsigned char>(e->name[0])) !=
        std::tolower(static_cast<unsigned char>(line[0])))
      continue;
    set_stage(11);
    if (entry_matches(*e, line)) return e;
  }
  return nullptr;
}

// A line of more than 15 characters with 7 or 8 slashes before its first
// blank is taken for a pasted FEN.
bool looks_like_fen(const std::string& line) {
  if (line.size() <= 15) return false;
  int slashes = 0;
  for (char c : line) {
    if (c == ' ') break;
    if (c == '/') slashes++;
  }
  return slashes == 7 || slashes == 8;
}

// Handlers release their line when done; a handler that started a search
// released it early and lines taken meanwhile are released where they were
// dealt with, so the line is released here only while it is still current.
void run_handler(const CommandEntry& e, const char* args) {
  uint64_t serial = current_line_serial();
  e.handler(args);
  if (current_line_serial() == serial) release_line();
}

bool dispatch(std::string& line) {
  set_stage(0);
  globals.input.taken = false;
  while (!line.empty() && line.back() == ' ') line.pop_back();
  if (line.empty()) {
    release_line();
    return false;
  }
  bool quitNoted = false;
  if (is_quit(line)) {
    quitNoted = true;
    globals.quit = true;
    if (globals.searching) globals.stopSearch = true;
  }
  if (!quitNoted) {
    if (const CommandEntry* e = find_entry(commandHandler.protocolTable, line)) {
      set_stage(3);
      run_handler(*e, line.c_str());
      return false;
    }
  }
  if (const CommandEntry* e = find_entry(commandHandler.consoleTable, line)) {
    set_stage(5);
    run_handler(*e, line.c_str() + e->prefixLength);
    return quitNoted;
  }
  if (!quitNoted && looks_like_fen(line)) {
    if (commandHandler.setupPastedFen) commandHandler.setupPastedFen(line.c_str());
  } else if (!quitNoted) {
    Print("");
    Print("Error (unknown command): %s", line.c_str());
  }
  release_line();
  if (quitNoted) globals.quit = true;
  return quitNoted;
}

}  // namespace

bool entry_matches(const CommandEntry& entry, const std::string& line) {
  if (entry.prefixLength == 0) return strcasecmp(entry.name, line.c_str()) == 0;
  if (line.size() < static_cast<size_t>(entry.prefixLength)) return false;
  return strncasecmp(entry.name, line.c_str(), entry.prefixLength) == 0;
}

bool HandleInput(std::string& line) {
  int* outer = dispatchStage;
  auto fill = [&](GuardFrame& frame) {
    frame.text = line.c_str();
    dispatchStage = &frame.status;
  };
  bool quit = guarded_in_winboard(GuardKind::kHandleInput, fill, [&] { return dispatch(line); });
  dispatchStage = outer;
  return quit;
}

}  // namespace torvek
