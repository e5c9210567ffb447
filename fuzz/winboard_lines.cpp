// torvek's dispatcher (WinBoard and console tables) over any run of lines.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fuzz/lines.h"
#include "fuzz/support.h"
#include "protocol/winboard_game.h"

namespace {

// "new" reads the ini file and sizes the hash from it: the smallest table
// keeps a session's new games cheap.
void write_small_ini() {
  static const char kIni[] = "[Torvek]\nHash=16\n";
  torvek::fuzz::write_file("torvek.ini", reinterpret_cast<const uint8_t*>(kIni), sizeof kIni - 1);
}

void reset_game() { torvek::wbGame = torvek::WBGame(); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  torvek::fuzz::init_line_session();
  write_small_ini();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  torvek::fuzz::run_line_session(data, size, reset_game);
  return 0;
}
