// The main loop of protocol/main.cpp over a fuzzed standard input.
#include "fuzz/lines.h"

#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "control/dispatcher.h"
#include "control/poll.h"
#include "core/globals.h"
#include "core/input.h"
#include "fuzz/support.h"
#include "protocol/protocol.h"
#include "search/hooks.h"

namespace torvek::fuzz {

namespace {

// A pipe holds 64 KB without a reader; the input is written whole before
// the session starts.
constexpr size_t kMaxInput = 60000;
constexpr double kNodesPerSearch = 20000;
constexpr double kNodesPerSession = 100000;

bool begins(const std::string& line, const char* word) {
  return strncasecmp(line.c_str(), word, std::strlen(word)) == 0;
}

// The largest number written anywhere in the line (the option parser finds
// its value after any word).
long long largest_number(const std::string& line) {
  long long largest = 0;
  for (const char* p = line.c_str(); *p; p++)
    if (*p >= '0' && *p <= '9' && (p == line.c_str() || p[-1] < '0' || p[-1] > '9'))
      largest = std::max(largest, std::strtoll(p, nullptr, 10));
  return largest;
}

// Commands that are fuzzed by targets of their own (the book tools over
// their files), that run for minutes by design (benchmark, suites, deep
// perft) or that write files under names from the input: left out here.
bool left_out(const std::string& line) {
  static const char* const kWords[] = {"test1", "suite", "makebook", "mergebooks", "editbook", nullptr};
  const char* start = line.c_str();
  while (*start == ' ') start++;
  std::string text(start);
  for (const char* const* w = kWords; *w; w++)
    if (begins(text, *w)) return true;
  if (begins(text, "perft")) {
    const char* depth = text.c_str() + (begins(text, "perftm") ? 6 : 5);
    if (std::strtoll(depth, nullptr, 10) > 3) return true;
  }
  // Large tables cost seconds to clear, not coverage.
  if (begins(text, "setoption") && strcasestr(text.c_str(), "hash") && largest_number(text) > 16)
    return true;
  return false;
}

void feed_stdin(const uint8_t* data, size_t size) {
  int fds[2];
  if (pipe(fds) != 0) std::abort();
  size = size < kMaxInput ? size : kMaxInput;
  size_t written = 0;
  while (written < size) {
    ssize_t n = write(fds[1], data + written, size - written);
    if (n <= 0) std::abort();
    written += static_cast<size_t>(n);
  }
  close(fds[1]);
  dup2(fds[0], 0);
  close(fds[0]);
}

// The main loop as main runs it, until the session's searches have spent
// their nodes: a search runs to its first poll at least, so thousands of
// "go" lines would take minutes without being a hang.
void main_loop() {
  while (!globals.quit && !node_budget_spent()) {
    std::string line = take_line();
    if (left_out(line)) {
      release_line();
      continue;
    }
    if (HandleInput(line)) break;
  }
}

// Lets the input thread run out: every line it still offers is taken back
// until it has seen quit, then the hand-over is left empty.
void stop_input_thread(std::thread& reader, std::atomic<bool>& finished) {
  globals.quit = true;
  release_line();
  while (!finished) {
    if (inputChannel.readyEvent.try_wait()) inputChannel.consumedEvent.set();
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  reader.join();
  std::string stale;
  poll_line(stale);  // drops a held line
  release_line();
  inputChannel.readyEvent.try_wait();
  inputChannel.consumedEvent.try_wait();
}

}  // namespace

void init_line_session() {
  init_engine();
  commandHandler.protocolTable = protocol_table();
  commandHandler.consoleTable = kConsoleTable;
  commandHandler.setupPastedFen = setup_pasted_fen;
  install_search_hooks();
  install_bounded_poll(searchHooks.poll, kNodesPerSearch, kNodesPerSession);
}

void run_line_session(const uint8_t* data, size_t size, void (*reset_protocol)()) {
  reset_engine();
  reset_protocol();
  feed_stdin(data, size);
  std::atomic<bool> finished{false};
  std::thread reader([&finished] {
    InputThread(&inputChannel, &globals.input);
    finished = true;
  });
  run_trapped(main_loop);
  stop_input_thread(reader, finished);
}

}  // namespace torvek::fuzz
