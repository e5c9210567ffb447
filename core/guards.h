// Fault guards of the WinBoard program. The dispatcher, the root, the tree
// search, the quiescence search and the evaluation each keep a small frame
// with their progress on a per-thread record while they run. A C++
// exception passing a guard makes it write its frame and rethrow; a hardware
// fault (a signal on this platform) makes the signal handler write every
// active frame, innermost first, with async-signal-safe calls only, and then
// lets the signal end the process as it would have.
#pragma once

#include <cstdint>

#include "core/globals.h"

namespace torvek {

enum class GuardKind : uint8_t { kHandleInput, kRoot, kSearch, kQS, kEvalu8, kEvalu8Passer };

// Only the fields of its kind are set, so that a frame costs a few stores
// on the search's paths: the numbers after "Status" (Search, QS), the
// variables holding them (Root, evalu8), the line (HandleInput) and the
// moves (Root: the root move; Search: the moves from ply 0).
struct GuardFrame {
  GuardKind kind;
  int status;  // the routine's step marker
  int values[4];
  const int* live[2];
  const char* text;
  const int* moves;
  int moveCount;

  explicit GuardFrame(GuardKind k) : kind(k), status(0) {}
};

constexpr int kMaxGuardFrames = 512;

// Plain data (zero at thread start), so that reaching it is one
// thread-pointer access with no initialisation check.
struct GuardRecord {
  const GuardFrame* frames[kMaxGuardFrames];
  int depth;  // may exceed the array; frames beyond it are not kept
};

extern thread_local GuardRecord guardRecord;

// Pushes a frame for the lifetime of the scope.
class GuardScope {
 public:
  explicit GuardScope(const GuardFrame& frame) {
    GuardRecord& r = guardRecord;
    if (r.depth < kMaxGuardFrames) r.frames[r.depth] = &frame;
    r.depth++;
  }
  ~GuardScope() { guardRecord.depth--; }
  GuardScope(const GuardScope&) = delete;
  GuardScope& operator=(const GuardScope&) = delete;
};

// The search's own abort passes the guards without a report: its exception
// type derives from this.
struct GuardPassThrough {};

// Writes the frame's report through Print (the exception path).
void report_guard(const GuardFrame& frame);
// The report's lines as text: "\nException at NAME", the status line and,
// where the routine has one, the line or moves it worked on, each ended by
// '\n'. Async-signal-safe. Returns the length written (cut at `size` - 1).
int format_guard(const GuardFrame& frame, char* out, int size);
// Signal handlers for the hardware faults, with their own stack so that a
// stack overflow is reported too. Call on the thread that runs the guards.
void install_fault_handlers();

// Runs `body` inside a guard on `frame`.
template <class Body>
inline auto guarded(GuardFrame& frame, Body&& body) -> decltype(body()) {
  GuardScope scope(frame);
  try {
    return body();
  } catch (const GuardPassThrough&) {
    throw;
  } catch (...) {
    report_guard(frame);
    throw;
  }
}

// The wrappers of the guarded routines: in the WinBoard program runs `body`
// inside a guard on a frame of `kind` that `fill` completes; the UCI program
// has no fault reports and calls `body` directly, building no frame, so the
// wrapper costs it nothing on the search's paths.
template <class Fill, class Body>
inline auto guarded_in_winboard(GuardKind kind, Fill&& fill, Body&& body) -> decltype(body()) {
  if (!kWinBoard) return body();
  GuardFrame frame(kind);
  fill(frame);
  return guarded(frame, body);
}

}  // namespace torvek
