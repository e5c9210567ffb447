// Commands while searching. The search runs on the main thread and calls the
// polling point every so many nodes; it takes a waiting line without
// blocking, lets through the commands that make sense during a search and
// releases every other line unanswered. Its only influence on the search is
// globals.stopSearch and the limits.
#include "control/poll.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <cstring>
#include <string>
#include <strings.h>
#include <thread>

#include "control/dispatcher.h"
#include "core/globals.h"
#include "core/input.h"
#include "core/output.h"
#include "search/context.h"
#include "search/hooks.h"
#include "search/report.h"
#include "search/threads.h"
#include "search/timeman.h"

namespace torvek {

namespace {

bool equals(const std::string& line, const char* word) { return strcasecmp(line.c_str(), word) == 0; }
bool begins(const std::string& line, const char* word) {
  return strncasecmp(line.c_str(), word, std::strlen(word)) == 0;
}

void discard(std::string& line) {
  globals.input.taken = false;
  release_line();
  line.clear();
}

bool any_equal(const std::string& line, const char* const* words) {
  for (; *words; words++)
    if (equals(line, *words)) return true;
  return false;
}

bool any_begins(const std::string& line, const char* const* prefixes) {
  for (; *prefixes; prefixes++)
    if (begins(line, *prefixes)) return true;
  return false;
}

bool analyzing() { return commandHandler.analyzing && commandHandler.analyzing(); }

// xboard may send its memory and core counts and its options at any time;
// their handlers keep them for the end of the search (or restart an
// analysis with them).
const char* const kGuiShare[] = {"memory ", "cores ", "option ", nullptr};

// What an analysis lets through: the commands that end it or restart it on
// another position, and the GUI's synchronisation.
bool let_through_analyzing(const std::string& line) {
  static const char* const kWords[] = {"quit", "q", "exit", "new", "undo", "hint", nullptr};
  static const char* const kPrefixes[] = {"usermove ", "setboard ", "ping ", "isready",
                                          "exclude ", "include ", nullptr};
  return any_equal(line, kWords) || any_begins(line, kPrefixes) || any_begins(line, kGuiShare);
}

// During a normal or ponder search. The WinBoard program also needs "force"
// and "remove" here: xboard sends them exactly while the engine thinks or
// ponders, and dropping them leaves the engine moving in force mode or on a
// record two plies too long.
bool let_through_searching(const std::string& line) {
  static const char* const kWords[] = {"stop", "quit", "q", "?", "new", nullptr};
  static const char* const kWinBoardWords[] = {"force", "remove", nullptr};
  static const char* const kPrefixes[] = {"usermove ", "result ", "time ", "otim ", "ping ",
                                          "isready", nullptr};
  return any_equal(line, kWords) || any_begins(line, kPrefixes) ||
         (kWinBoard && (any_equal(line, kWinBoardWords) || any_begins(line, kGuiShare)));
}

bool let_through(const std::string& line) {
  return kWinBoard && analyzing() ? let_through_analyzing(line) : let_through_searching(line);
}

// The analysis status line xboard asks for with ".".
void print_analysis_status() {
  const SearchContext& sc = searchContext;
  int left = sc.root_moves.count - sc.root_index;
  Print("stat01: %.0f %.0f %i %u %u %s", sc.elapsed_ms * 0.1, total_nodes(sc), sc.iteration,
        static_cast<unsigned>(left > 0 ? left : 0), static_cast<unsigned>(sc.root_moves.count),
        move_text(sc.root_move).c_str());
}

// Dispatches a line let through; its handler releases it.
void dispatch_during_search(std::string& line) {
  if (globals.debug) Print("info string <%s", line.c_str());
  searchContext.poll_countdown = 0;
  std::string copy = line;
  line.clear();
  bool quitting = HandleInput(copy);
  if (kWinBoard && analyzing()) {
    if (quitting && globals.debug) write_raw(" back to Analyze ");
  } else if (quitting) {
    write_line("");
  }
}

bool search_time_filter(std::string& line) {
  if (searchContext.limits.ponder && begins(line, "ponderhit")) {
    std::string copy = line;
    line.clear();
    if (HandleInput(copy)) {
      if (globals.debug) write_raw(" back to search ");
      write_line("");
    }
    if (globals.debug) Print("info string ponder time=%u", searchContext.limits.move_time);
    return globals.stopSearch;
  }
  if (let_through(line)) {
    dispatch_during_search(line);
    return globals.stopSearch;
  }
  if (kWinBoard && analyzing() && equals(line, ".")) print_analysis_status();
  if (begins(line, "debug ")) globals.debug = std::strstr(line.c_str(), "on") != nullptr;
  discard(line);
  return globals.stopSearch;
}

// The WinBoard program acts on every line a search would let through: the
// move that hits or misses the pondered one, "new", "result", "force",
// "remove", "exit" end the wait through their handlers (which stop the
// search); the clocks and "ping" (xboard waits for every pong) are answered
// and the wait goes on.
void wait_dispatch(std::string& line) {
  std::string copy = line;
  line.clear();
  bool quitting = HandleInput(copy);
  if (globals.debug && quitting) write_raw(" back to search from WaitForGUI ");
  write_line("");
  const SearchLimits& limits = searchContext.limits;
  bool leaving = globals.stopSearch || !(limits.infinite || limits.ponder);
  DebugPrint(leaving ? "WaitForGUI break" : "WaitForGUI continue");
}

// Test-only: TORVEK_FORCE_FAULT=signal or =exception makes the first poll
// after 20000 nodes fault, deep inside the search, so that the fault guards'
// reports can be checked through the real program.
void force_fault_for_tests() {
  static const char* kind = std::getenv("TORVEK_FORCE_FAULT");
  if (!kind || searchContext.nodes < 20000) return;
  if (std::strcmp(kind, "signal") == 0) std::raise(SIGSEGV);
  if (std::strcmp(kind, "exception") == 0) throw std::runtime_error("forced fault");
}

void sleep_10ms() { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

}  // namespace

void poll_commands() {
  force_fault_for_tests();
  std::string line;
  bool got = poll_line(line);
  report_periodic();
  if (got) {
    if (!globals.stopSearch) {
      search_time_filter(line);
      if (globals.stopSearch) write_line(" info string Break set from 'stop'");
    } else {
      std::string text = "Error: what the hell is this will the command " + line + " disappear now?";
      write_line(text.c_str());
      hold_line(line);  // the main loop or WaitForGUI deals with it
    }
  }
  check_limits();
}

void WaitForGUI() {
  std::string line;
  while (searchContext.limits.infinite || searchContext.limits.ponder) {
    if (globals.stopSearch) return;
    if (!poll_line(line)) {
      sleep_10ms();
      continue;
    }
    if (equals(line, "quit") || equals(line, "q")) {
      globals.stopSearch = true;
      globals.quit = true;  // the session ends; the line is never released
    } else if (searchContext.limits.ponder && equals(line, "ponderhit")) {
      DebugPrint("Break due to ponderhit");
      globals.stopSearch = true;
      searchContext.limits.ponder = false;
      discard(line);
    } else if (equals(line, "stop")) {
      DebugPrint("Break due to stop cmd");
      globals.stopSearch = true;
      discard(line);
    } else if (!kWinBoard && begins(line, "isready")) {
      // A GUI waits for this answer; holding it back would hang the GUI.
      HandleInput(line);
    } else if (kWinBoard && let_through(line)) {
      wait_dispatch(line);
    } else if (kWinBoard && analyzing() && equals(line, ".")) {
      print_analysis_status();
      discard(line);
    } else {
      discard(line);
    }
    sleep_10ms();
  }
}

void install_search_hooks() {
  searchHooks.poll = poll_commands;
  searchHooks.waitForGui = WaitForGUI;
}

}  // namespace torvek
