// Input thread and the one-line-in-flight hand-over. Standard input is read
// with read(2) rather than stdio so that a thread blocked in a read never
// holds a stdio lock that the main thread or the exit path might want.
#include "core/input.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/globals.h"
#include "core/output.h"

namespace torvek {

namespace {

// fgets-like chunks over fd 0: at most max-1 characters, ending after a
// newline. Returns the chunk length, 0 at end of input or on a read error.
class StdinReader {
 public:
  int read_chunk(char* out, int max) {
    int n = 0;
    while (n < max - 1) {
      if (pos_ == len_ && !fill()) break;
      char c = buf_[pos_++];
      out[n++] = c;
      if (c == '\n') break;
    }
    out[n] = 0;
    return n;
  }

 private:
  bool fill() {
    ssize_t got;
    do got = ::read(0, buf_, sizeof buf_);
    while (got < 0 && errno == EINTR);
    if (got <= 0) return false;
    pos_ = 0;
    len_ = static_cast<int>(got);
    return true;
  }
  char buf_[4096];
  int pos_ = 0, len_ = 0;
};

bool lineReleased = true;

void read_line(InputSlot* slot, StdinReader& reader) {
  char chunk[256];
  while (!globals.quit) {
    if (globals.debug) write_line("info string before fgets");
    if (reader.read_chunk(chunk, 255) == 0) {
      slot->line = "quit";
      return;
    }
    char* eol = std::strpbrk(chunk, "\r\n");
    if (eol) *eol = 0;
    slot->line += chunk;
    if (eol) return;
  }
}

}  // namespace

InputChannel inputChannel;

int InputThread(InputChannel* channel, InputSlot* slot) {
  StdinReader reader;
  char copy[256] = {0};
  slot->taken = false;
  slot->line.clear();
  while (!globals.quit) {
    slot->line.clear();
    slot->taken = false;
    read_line(slot, reader);
    if (channel->logInput || globals.debug) {
      std::strncpy(copy, slot->line.c_str(), 255);
      copy[255] = 0;
    }
    if (globals.debug) {
      write_line("");
      std::string trace = std::string("info string fgets = ") + copy;
      write_line(trace.c_str());
    }
    if (channel->logInput && globals.logFile) {
      std::fprintf(globals.logFile, "%s \n", copy);
      std::fflush(globals.logFile);
    }
    channel->readyEvent.set();
    if (globals.debug) write_line("info string inp ready I ");
    channel->consumedEvent.wait();
  }
  return 0;
}

namespace {

// Hand-over state of the main thread: the serial number of the last line
// taken from the slot, whether it has been released, and a line that a poll
// took but had to leave for later (it stays taken and unreleased).
uint64_t takenSerial = 0;
bool heldLine = false;
std::string held;

void note_taken() {
  globals.input.taken = true;
  takenSerial++;
  lineReleased = false;
}

}  // namespace

std::string take_line() {
  if (heldLine) {
    heldLine = false;
    return held;
  }
  inputChannel.readyEvent.wait();
  note_taken();
  return globals.input.line;
}

bool poll_line(std::string& line) {
  if (heldLine) {
    heldLine = false;
    line = held;
    return true;
  }
  if (!inputChannel.readyEvent.try_wait()) return false;
  note_taken();
  line = globals.input.line;
  return true;
}

void hold_line(const std::string& line) {
  held = line;
  heldLine = true;
}

uint64_t current_line_serial() { return takenSerial; }

void release_line() {
  if (lineReleased) return;
  lineReleased = true;
  globals.input.taken = false;
  inputChannel.consumedEvent.set();
  if (globals.debug) write_line("info string inp consumed");
}

}  // namespace torvek
