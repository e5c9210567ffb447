// Output helpers shared by both programs.
#include "core/output.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "core/globals.h"

namespace torvek {

Globals globals;

namespace {

int fatalTraps = 0;

void vprint(const char* format, va_list args) {
  if (globals.quiet) return;
  char buffer[kPrintBufferSize];
  if (!format) {
    buffer[0] = ' ';
    buffer[1] = 0;
  } else {
    std::vsnprintf(buffer, sizeof buffer, format, args);
  }
  if (kWinBoard && strncasecmp(buffer, "info", 4) == 0) return;
  std::fputs(buffer, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

void Print(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vprint(format, args);
  va_end(args);
}

void DebugPrint(const char* format, ...) {
  if (!globals.debug) return;
  Print("DBG: ");
  va_list args;
  va_start(args, format);
  vprint(format, args);
  va_end(args);
}

void FatalError(const char* format, ...) {
  char buffer[kPrintBufferSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (fatalTraps > 0) {
    FatalTrapped trapped;
    // The trap keeps the message's start; a longer one is cut on purpose.
    size_t length = std::min(std::strlen(buffer), sizeof trapped.message - 1);
    std::memcpy(trapped.message, buffer, length);
    trapped.message[length] = 0;
    throw trapped;
  }
  std::fprintf(stderr, "info string %s", buffer);
  std::fflush(stderr);
  std::fflush(stdout);
  if (!globals.bUCI && !globals.bWB) {
    // Keep the message on screen for a person at a console.
    char answer[2048];
    if (!std::fgets(answer, sizeof answer, stdin)) answer[0] = 0;
  }
  std::_Exit(1);
}

FatalTrap::FatalTrap() { fatalTraps++; }
FatalTrap::~FatalTrap() { fatalTraps--; }

QuietLift::QuietLift() : wasQuiet_(globals.quiet) {
  if (!wasQuiet_) return;
  globals.quiet = false;
  write_line("info string not quiet anymore");
}

QuietLift::~QuietLift() {
  if (!wasQuiet_) return;
  globals.quiet = true;
  write_line("info string quiet now");
}

void write_raw(const char* text) {
  std::fputs(text, stdout);
  std::fflush(stdout);
}

void write_line(const char* text) {
  std::fputs(text, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void SetQuiet(bool on) {
  if (globals.quiet == on) return;
  globals.quiet = on;
  write_line(on ? "info string quiet now" : "info string not quiet anymore");
}

void SetDebug(bool on) {
  globals.debug = on;
  write_line(on ? "info string debug is on" : "info string debug is off");
}

void print_thinking_line(int depth, int score, double ms, double nodes, const char* pv) {
  Print("%d %d %.0f %.0f %s", depth, score, std::floor(ms * 0.1), nodes, pv);
}

void TellIcs(int depth, int score, double time, double nodes, const char* pv) {
  print_thinking_line(depth, score, time, nodes, pv);
  if (!globals.onIcs || globals.tell == 0) return;
  const char* prefix = nullptr;
  if (globals.computerOpponent)
    prefix = globals.tell == 2 ? "tellall " : "tellothers ";
  else if (globals.tell == 3)
    prefix = "tellothers ";
  if (!prefix) return;
  write_raw(prefix);
  Print("score=%s%.2f depth=%d Knps=%.0f %s\n", score >= 0 ? "+" : "", score * 0.01, depth,
        nodes / (time + 0.001), pv);
}

}  // namespace torvek
