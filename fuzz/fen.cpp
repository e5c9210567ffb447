// A FEN line: the strict reader on a scratch board, the writer's text read
// back to the same text, move generation and evaluation of what was
// accepted; then the position command with the line as its FEN and as its
// move tokens.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "board/board.h"
#include "board/fen.h"
#include "board/perft.h"
#include "control/position_command.h"
#include "eval/eval.h"
#include "fuzz/support.h"

using namespace torvek;

namespace {

Board scratch, reread;

// A position the reader took must come out of the writer as a FEN that the
// reader takes again and writes the same way.
void check_round_trip() {
  std::string written, again;
  write_fen(scratch, written);
  if (!fuzz::run_trapped([&] { SetupFEN(reread, written.c_str()); })) {
    std::fprintf(stderr, "written FEN refused: %s\n", written.c_str());
    std::abort();
  }
  write_fen(reread, again);
  if (again != written) {
    std::fprintf(stderr, "FEN changed on re-reading: %s -> %s\n", written.c_str(), again.c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::init_engine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::reset_engine();
  std::string text = fuzz::as_text(data, size);
  if (fuzz::run_trapped([&] { SetupFEN(scratch, text.c_str()); })) {
    check_round_trip();
    double count = 0;
    perft(scratch, 2, 0, count, true);
    evalu8(scratch, -30000, 30000);
  }
  fuzz::run_trapped([&] { uci_position(("position fen " + text).c_str()); });
  fuzz::reset_engine();
  fuzz::run_trapped([&] { uci_position(("position startpos moves " + text).c_str()); });
  return 0;
}
