// The guards' reports, for exceptions (through Print) and for signals
// (straight to the output descriptor, since nothing else is safe there).
#include "core/guards.h"

#include <csignal>
#include <initializer_list>
#include <cstring>
#include <unistd.h>

#include "core/output.h"

namespace torvek {

thread_local GuardRecord guardRecord;

namespace {

constexpr int kNullMove = 11;
constexpr int kPromotionKind = 2;

// Appends text to a fixed buffer; everything is bounded and allocation free.
class Text {
 public:
  Text(char* out, int size) : out_(out), size_(size) {}
  void put(const char* s) {
    while (*s && length_ < size_ - 1) out_[length_++] = *s++;
    out_[length_] = 0;
  }
  void put_char(char c) {
    char s[2] = {c, 0};
    put(s);
  }
  void put_int(int v) {
    char digits[16];
    int n = 0;
    unsigned u = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
    do {
      digits[n++] = static_cast<char>('0' + u % 10);
      u /= 10;
    } while (u);
    if (v < 0) put_char('-');
    while (n) put_char(digits[--n]);
  }
  int length() const { return length_; }

 private:
  char* out_;
  int size_;
  int length_ = 0;
};

const char* guard_name(GuardKind k) {
  switch (k) {
    case GuardKind::kHandleInput: return "HandleInput";
    case GuardKind::kRoot: return "Root";
    case GuardKind::kSearch: return "Search";
    case GuardKind::kQS: return "QS";
    case GuardKind::kEvalu8: return "evalu8";
    case GuardKind::kEvalu8Passer: return "evalu8Passer";
  }
  return "?";
}

// Coordinate text of a move word, with the markers for words that are not
// moves.
void put_move(Text& t, int move) {
  if (move == kNullMove) {
    t.put("(=null) ");
    return;
  }
  int to = move & 63, from = (move >> 6) & 63;
  if (move <= 0 || move > 0xffff || from == to) {
    t.put("notok move=");
    t.put_int(move);
    t.put(" ");
    return;
  }
  t.put_char(static_cast<char>('a' + (from & 7)));
  t.put_char(static_cast<char>('1' + (from >> 3)));
  t.put_char(static_cast<char>('a' + (to & 7)));
  t.put_char(static_cast<char>('1' + (to >> 3)));
  if (((move >> 14) & 3) == kPromotionKind) t.put_char("nbrq"[(move >> 12) & 3]);
  t.put(" ");
}

void put_status(Text& t, const GuardFrame& f) {
  static const char* const kLabels[][4] = {
      {nullptr},                                         // HandleInput
      {", RootDepth=", ", RootNo=", nullptr},             // Root
      {", Ply=", ", Alfa=", ", Beta=", nullptr},          // Search
      {", Ply=", ", value=", ", Alfa=", ", Beta="},       // QS
      {", opening=", ", endgame=", nullptr},              // evalu8
      {nullptr},                                         // evalu8Passer
  };
  bool live = f.kind == GuardKind::kRoot || f.kind == GuardKind::kEvalu8;
  const char* const* labels = kLabels[static_cast<int>(f.kind)];
  t.put("Status=");
  t.put_int(f.status);
  for (int i = 0; i < 4 && labels[i]; i++) {
    t.put(labels[i]);
    t.put_int(live ? *f.live[i] : f.values[i]);
  }
  t.put("\n");
}

void write_all(const char* text, int length) {
  while (length > 0) {
    ssize_t n = write(STDOUT_FILENO, text, static_cast<size_t>(length));
    if (n <= 0) return;
    text += n;
    length -= static_cast<int>(n);
  }
}

void on_fault(int signal) {
  const GuardRecord& r = guardRecord;
  int top = r.depth < kMaxGuardFrames ? r.depth : kMaxGuardFrames;
  char buffer[2048];
  for (int i = top - 1; i >= 0; i--) write_all(buffer, format_guard(*r.frames[i], buffer, sizeof buffer));
  // The handler was reset to the default on entry: the fault now ends the
  // process as it would have without the guards.
  raise(signal);
}

}  // namespace

int format_guard(const GuardFrame& f, char* out, int size) {
  Text t(out, size);
  t.put("\nException at ");
  t.put(guard_name(f.kind));
  t.put("\n");
  put_status(t, f);
  if (f.kind == GuardKind::kHandleInput) {
    t.put(f.text);
    t.put("\n");
  }
  bool hasMoves = f.kind == GuardKind::kRoot || f.kind == GuardKind::kSearch;
  if (hasMoves && f.moveCount > 0) {
    for (int i = 0; i < f.moveCount; i++) put_move(t, f.moves[i]);
    t.put("\n");
  }
  return t.length();
}

void report_guard(const GuardFrame& frame) {
  char buffer[2048];
  format_guard(frame, buffer, sizeof buffer);
  // One Print per line; the report begins with an empty line.
  char* line = buffer;
  while (char* end = std::strchr(line, '\n')) {
    *end = 0;
    Print("%s", line);
    line = end + 1;
  }
}

void install_fault_handlers() {
  static char alternateStack[64 * 1024];
  stack_t ss = {};
  ss.ss_sp = alternateStack;
  ss.ss_size = sizeof alternateStack;
  sigaltstack(&ss, nullptr);
  struct sigaction action = {};
  action.sa_handler = on_fault;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_ONSTACK;
  for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) sigaction(s, &action, nullptr);
}

}  // namespace torvek
