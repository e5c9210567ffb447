// The learning file on disk. It only ever grows and may be shared by several
// engines in one folder (a self-play match), so a batch goes out in one
// append under an exclusive lock, a failed append is taken back, and a tail
// that is not a whole record is cut before appending, so that every later
// record stays on the 13-byte grid. Anything wrong with the file costs the
// learning, never the game, and never the records already in it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/globals.h"
#include "core/output.h"
#include "search/learn.h"
#include "search/tt.h"

namespace torvek {

namespace {

constexpr int kRecordsPerRead = 4096;

// Opens without blocking (a FIFO in the file's place must not hang the
// engine) and accepts only a regular file; errno tells why not.
int open_learning_file(const char* path, int flags) {
  int fd = open(path, flags | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) != 0) st.st_mode = 0;
  if (!S_ISREG(st.st_mode)) {
    int why = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    close(fd);
    errno = why;
    return -1;
  }
  return fd;
}

void create_empty(const char* path) {
  int fd = open_learning_file(path, O_WRONLY | O_CREAT);
  if (fd < 0) {
    Print("info string Couldn't create Learning File %s: %s", path, std::strerror(errno));
    return;
  }
  close(fd);
}

// Stores the records of one read; returns how many were refused.
unsigned store_records(const unsigned char* data, long count) {
  unsigned refused = 0;
  for (long i = 0; i < count; i++) {
    LearnEntry e;
    if (!decode_learn_record(data + i * kLearnRecordSize, e)) {
      refused++;
      continue;
    }
    transpositionTable.store_learned(key_low(e.key), key_high(e.key), e.move, e.depth, e.score);
    if (globals.debug) Print("info string Hash filled");
  }
  return refused;
}

// Reads whole records until the end; returns the bytes of a partial last
// record, or -1 after a read error.
long read_records(int fd, const char* path, unsigned& refused) {
  static unsigned char buffer[kRecordsPerRead * kLearnRecordSize];
  long held = 0;
  for (;;) {
    ssize_t got = read(fd, buffer + held, sizeof buffer - held);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      Print("info string Reading Learning File %s failed: %s. The rest was not learned.", path,
            std::strerror(errno));
      return -1;
    }
    if (got == 0) return held;
    held += got;
    long whole = held / kLearnRecordSize;
    refused += store_records(buffer, whole);
    held -= whole * kLearnRecordSize;
    std::memmove(buffer, buffer + whole * kLearnRecordSize, held);
  }
}

// A crash or a full disk can leave a partial record at the end; appending
// behind it would shift every later record off the grid.
void cut_partial_tail(int fd, const char* path) {
  struct stat st;
  if (fstat(fd, &st) != 0) return;
  off_t tail = st.st_size % kLearnRecordSize;
  if (tail == 0) return;
  if (ftruncate(fd, st.st_size - tail) == 0)
    Print("info string Learning File %s ended in a partial record of %d bytes; it was cut off",
          path, static_cast<int>(tail));
}

}  // namespace

void load_learnt(const char* path) {
  learnState.path = path;
  if (globals.debug) Print("info string LoadLearnt");
  int fd = open_learning_file(path, O_RDONLY);
  if (fd < 0) {
    if (errno == ENOENT) {
      Print("info string Couldn't find Learning File %s. Will create a new one.", path);
      create_empty(path);
    } else {
      Print("info string Couldn't read Learning File %s: %s. Nothing was learned from it.", path,
            std::strerror(errno));
    }
    return;
  }
  flock(fd, LOCK_SH);  // another engine's append is whole or not there
  unsigned refused = 0;
  long tail = read_records(fd, path, refused);
  close(fd);
  if (tail > 0)
    Print("info string Learning File %s ends in a partial record of %ld bytes; it was not learned",
          path, tail);
  if (refused > 0)
    Print("info string Learning File %s: %u records with an impossible key, depth or score were "
          "skipped",
          path, refused);
}

void save_learnt() {
  const char* path = learnState.path.c_str();
  int fd = open_learning_file(path, O_WRONLY | O_APPEND | O_CREAT);
  if (globals.debug) Print("info string SaveLearnt");
  if (fd < 0) {
    Print("info string Couldn't find Learning File %s. No learning took place.", path);
    return;
  }
  unsigned char batch[kLearnListSize * kLearnRecordSize];
  long bytes = 0;
  for (int i = 0; i < kLearnListSize && learnState.pending[i].key != 0; i++) {
    encode_learn_record(learnState.pending[i], batch + bytes);
    bytes += kLearnRecordSize;
  }
  flock(fd, LOCK_EX);
  cut_partial_tail(fd, path);
  off_t start = lseek(fd, 0, SEEK_END);
  ssize_t written = bytes > 0 ? write(fd, batch, bytes) : 0;
  if (written != bytes) {
    Print("info string Writing Learning File %s failed: %s. No learning took place.", path,
          written < 0 ? std::strerror(errno) : "only a part could be written");
    if (written > 0 && (start < 0 || ftruncate(fd, start) != 0))
      Print("info string Learning File %s keeps a partial record; the next save cuts it off", path);
  }
  close(fd);  // releases the lock
}

}  // namespace torvek
