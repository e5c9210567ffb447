// Commands while searching. The search runs on the main thread and calls the
// polling point every so many nodes; it takes a waiting line without
// blocking, lets through the commands that make sense during a search and
// releases every other line unanswered. Its only influence on the search is
// globals.stopSearch and the limits.
#include "control/poll.h"

#include <chrono>
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

bool let_through_while_searching(const std::string& line) {
  static const char* const kWords[] = {"stop", "quit", "q", "?", "new"};
  static const char* const kPrefixes[] = {"usermove ", "result ", "time ", "otim ", "ping ", "isready"};
  for (const char* w : kWords)
    if (equals(line, w)) return true;
  for (const char* p : kPrefixes)
    if (begins(line, p)) return true;
  return false;
}

// Dispatches a line let through; its handler releases it.
void dispatch_during_search(std::string& line) {
  if (globals.debug) Print("info string <%s", line.c_str());
  searchContext.poll_countdown = 0;
  std::string copy = line;
  line.clear();
  if (HandleInput(copy)) write_line("");
}

bool search_time_filter(std::string& line) {
  if (searchContext.ponder && begins(line, "ponderhit")) {
    std::string copy = line;
    line.clear();
    if (HandleInput(copy)) {
      if (globals.debug) write_raw(" back to search ");
      write_line("");
    }
    if (globals.debug) Print("info string ponder time=%u", searchContext.move_time);
    return globals.stopSearch;
  }
  if (let_through_while_searching(line)) {
    dispatch_during_search(line);
    return globals.stopSearch;
  }
  if (begins(line, "debug ")) globals.debug = std::strstr(line.c_str(), "on") != nullptr;
  discard(line);
  return globals.stopSearch;
}

void sleep_10ms() { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

}  // namespace

void poll_commands() {
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
  while (searchContext.infinite || searchContext.ponder) {
    if (globals.stopSearch) return;
    if (!poll_line(line)) {
      sleep_10ms();
      continue;
    }
    if (equals(line, "quit") || equals(line, "q")) {
      globals.stopSearch = true;
      globals.quit = true;  // the session ends; the line is never released
    } else if (searchContext.ponder && equals(line, "ponderhit")) {
      DebugPrint("Break due to ponderhit");
      globals.stopSearch = true;
      searchContext.ponder = false;
      discard(line);
    } else if (equals(line, "stop")) {
      DebugPrint("Break due to stop cmd");
      globals.stopSearch = true;
      discard(line);
    } else if (begins(line, "isready")) {
      // A GUI waits for this answer; holding it back would hang the GUI.
      HandleInput(line);
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
