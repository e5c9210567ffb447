// Output helpers. Every line is written with its end-of-line and flushed at
// once: GUIs read the engine through a pipe and hang on buffered output.
#pragma once

namespace torvek {

constexpr int kPrintBufferSize = 4096;

// Nothing while quiet; in the WinBoard build, texts starting with "info" are
// dropped. Texts longer than the buffer are cut.
void Print(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "DBG: " and the message as two lines, only while debug is on.
void DebugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "info string " + message on stderr, wait for a key at a console, exit 1.
[[noreturn]] void FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));
void SetQuiet(bool on);

// While one of these lives, FatalError throws FatalTrapped with its message
// instead of ending the process: a command can then try a set-up on a scratch
// board and answer a bad one without losing the session.
struct FatalTrapped {
  char message[256];
};
class FatalTrap {
 public:
  FatalTrap();
  ~FatalTrap();
  FatalTrap(const FatalTrap&) = delete;
  FatalTrap& operator=(const FatalTrap&) = delete;
};

void SetDebug(bool on);
// The WinBoard thinking line "depth score time nodes pv": `ms` is written in
// centiseconds, the unit of the protocol and of every WinBoard GUI's display.
void print_thinking_line(int depth, int score, double ms, double nodes, const char* pv);
// The thinking line and, on a chess server when Tell asks for it, its kibitz
// copy; `time` in milliseconds.
void TellIcs(int depth, int score, double time, double nodes, const char* pv);

// Lifts "quiet" while it lives, for the final answer, which the GUI must
// always see; says so in an info line on each side when it does.
class QuietLift {
 public:
  QuietLift();
  ~QuietLift();
  QuietLift(const QuietLift&) = delete;
  QuietLift& operator=(const QuietLift&) = delete;

 private:
  bool wasQuiet_;
};

// Raw text without end-of-line, flushed (prompt, kibitz prefixes).
void write_raw(const char* text);
// A complete line written directly, bypassing quiet and the info filter.
void write_line(const char* text);

}  // namespace torvek
