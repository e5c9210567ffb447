// The input thread: reads standard input one line at a time and hands each
// line to the main thread; the next line is read only after the main thread
// has released the current one, so at most one line is in flight.
#pragma once

#include <cstdint>
#include <string>

#include "core/event.h"

namespace torvek {

struct InputSlot;

// The two auto-reset events of the hand-over: "a line is waiting" (set by the
// input thread) and "the line has been dealt with" (set by the main thread).
struct InputChannel {
  AutoResetEvent readyEvent;
  AutoResetEvent consumedEvent;
  bool logInput = false;  // build-time switch, off in both programs
};

extern InputChannel inputChannel;

int InputThread(InputChannel* channel, InputSlot* slot);

// Main-thread side of the hand-over.
// Blocks until a line is waiting, copies it out and marks it taken.
std::string take_line();
// Zero-timeout poll: true and the line when one is waiting.
bool poll_line(std::string& line);
// Leaves a taken line, unreleased, for the next take_line or poll_line.
void hold_line(const std::string& line);
// Changes whenever a new line is taken from the input thread.
uint64_t current_line_serial();
// Signals the consumed event once for the line in hand; later calls for the
// same line do nothing.
void release_line();

}  // namespace torvek
