// mergebooks: both inputs walked in key order like the merge step of a merge
// sort; entries of a key found in both are merged run against run.
#include <cerrno>
#include <cstring>
#include <string>

#include "book/book_tools.h"
#include "core/output.h"
#include "core/text.h"

namespace torvek {

extern Book engineBook;

namespace {

const char* take_word(const char* s, std::string& word) {
  s = skip_blanks(s);
  const char* end = s;
  while (*end && *end != ' ') end++;
  word.assign(s, end);
  return end;
}

// The entries of one key from `i` on; -1 when the run is longer than a run
// may be.
int read_run(Book& book, int i, BookEntry* run) {
  BookEntry e;
  read_entry(i, book, e);
  const uint64_t key = e.key;
  int n = 0;
  while (read_entry(i + n, book, e) && e.key == key) {
    if (n == kMaxRun) return -1;
    run[n++] = e;
  }
  return n;
}

int nag_rank(int value) {
  return value == kValueAlways ? 3 : value == kValueStrong ? 2 : value == kValueNever ? 1 : 0;
}

// Two entries of the same move. NAGs take precedence ("!!" over "!" over
// "?") with the larger game count; statistics are summed, and when a sum
// passes its cap both are halved together so that the percentage holds.
BookEntry merge_pair(BookEntry a, const BookEntry& b) {
  int rank = nag_rank(a.value) > nag_rank(b.value) ? nag_rank(a.value) : nag_rank(b.value);
  if (rank) {
    a.value = static_cast<uint16_t>(rank == 3 ? kValueAlways : rank == 2 ? kValueStrong : kValueNever);
    if (b.games > a.games) a.games = b.games;
    return a;
  }
  long points = long(a.value) + b.value;
  long games = long(a.games) + b.games;
  while (points > kMaxMergedPoints || games > kMaxMergedGames) {
    points = (points + 1) / 2;
    games = (games + 1) / 2;
  }
  a.value = static_cast<uint16_t>(points);
  a.games = static_cast<uint16_t>(games);
  return a;
}

// Write errors are collected by the stream and checked once at the close,
// so that a failed write can still remove the unfinished file.
void put_entry(FILE* out, const BookEntry& e) {
  unsigned char bytes[kBookEntryBytes];
  encode_entry(e, bytes);
  std::fwrite(bytes, 1, sizeof bytes, out);
}

struct MergeFiles {
  Book in1, in2;
  FILE* out = nullptr;
  std::string temp;
};

[[noreturn]] void fail_merge(MergeFiles& f, const char* message) {
  if (f.out) std::fclose(f.out);
  f.out = nullptr;
  std::remove(f.temp.c_str());
  FatalError("%s", message);
}

// False when a run is too long (nothing is committed then).
bool merge_walk(MergeFiles& f, int& count1, int& count2) {
  static BookEntry run1[kMaxRun], run2[kMaxRun], merged[2 * kMaxRun];
  int i1 = 0, i2 = 0;
  BookEntry e1, e2;
  while (read_entry(i1, f.in1, e1)) {
    bool has2 = read_entry(i2, f.in2, e2);
    if (has2 && e2.key < e1.key) {
      put_entry(f.out, e2);
      i2++;
    } else if (has2 && e2.key == e1.key) {
      int n1 = read_run(f.in1, i1, run1);
      int n2 = read_run(f.in2, i2, run2);
      if (n1 < 0 || n2 < 0) {
        Print("more than %d entries of one position in %s: merge refused", kMaxRun,
              (n1 < 0 ? f.in1 : f.in2).path.c_str());
        return false;
      }
      int n = merge_runs(run1, n1, run2, n2, merged, count1, count2);
      for (int k = 0; k < n; k++) put_entry(f.out, merged[k]);
      i1 += n1;
      i2 += n2;
    } else {
      put_entry(f.out, e1);
      i1++;
    }
  }
  for (; read_entry(i2, f.in2, e2); i2++) put_entry(f.out, e2);
  return true;
}

}  // namespace

int merge_runs(const BookEntry* run1, int n1, const BookEntry* run2, int n2, BookEntry* out,
               int& count1, int& count2) {
  BookEntry result[2 * kMaxRun];
  bool used[kMaxRun] = {};
  int n = 0;
  for (int i = 0; i < n1; i++) {
    int j = 0;
    while (j < n2 && (used[j] || run2[j].move != run1[i].move)) j++;
    if (j < n2) {
      used[j] = true;
      result[n++] = merge_pair(run1[i], run2[j]);
      count1++;
      count2++;
    } else {
      result[n++] = run1[i];
      count1++;
    }
  }
  for (int j = 0; j < n2; j++) {
    if (used[j]) continue;
    result[n++] = run2[j];
    count2++;
  }
  // Greatest value first, the first one on ties.
  bool taken[2 * kMaxRun] = {};
  for (int k = 0; k < n; k++) {
    int best = -1;
    for (int i = 0; i < n; i++)
      if (!taken[i] && (best < 0 || result[i].value > result[best].value)) best = i;
    taken[best] = true;
    out[k] = result[best];
  }
  return n;
}

void mergebooks(const char* args) {
  std::string name1, name2, name3;
  args = take_word(args, name1);
  args = take_word(args, name2);
  take_word(args, name3);
  if (name1.empty()) return Print("No book file given");
  if (name2.empty()) return Print("No book2 file given");
  if (name3.empty()) return Print("No book3 (newbook) file given");
  MergeFiles f;
  book_open("rb", name1.c_str(), f.in1);
  book_open("rb", name2.c_str(), f.in2);
  f.temp = temporary_name(name3.c_str());
  f.out = std::fopen(f.temp.c_str(), "wb");
  if (!f.out) FatalError("book_open(): can't open file '%s': %s\n", name3.c_str(), std::strerror(errno));
  engineBook.path = name3;
  int count1 = 0, count2 = 0;
  if (!merge_walk(f, count1, count2)) {
    std::fclose(f.out);
    std::remove(f.temp.c_str());
    return;
  }
  FILE* out = f.out;
  f.out = nullptr;
  bool written = !std::ferror(out);
  if (std::fclose(out) != 0 || !written) {
    std::string message = std::string("during close fclose(): ") + std::strerror(errno) + "\n";
    fail_merge(f, message.c_str());
  }
  const int entries1 = f.in1.entries, entries2 = f.in2.entries;
  book_close(f.in1);
  book_close(f.in2);
  commit_temporary(f.temp, name3.c_str());
  Print("from book1: %d, from book2: %d", entries1, entries2);
  Print("merged entries: book1>=book2: %d, book2>book1 %d", count1, count2);
  Print("merge ok");
}

}  // namespace torvek
