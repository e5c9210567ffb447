// A book file: opened as the engine's own book, its moves listed and chosen
// in a few positions, and merged with itself by the book tools.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "board/board.h"
#include "book/book_tools.h"
#include "book/probe.h"
#include "control/book_open.h"
#include "control/params.h"
#include "control/position_command.h"
#include "fuzz/positions.h"
#include "fuzz/support.h"

using namespace torvek;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::init_engine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::reset_with_file("fuzz.book", data, size);
  bookFileName = "fuzz.book";
  fuzz::run_trapped([] {
    open_engine_book();
    for (const char* position : fuzz::kProbePositions) {
      uci_position(position);
      bookmoves(engineBook, topBoard);
      book_choose(topBoard, engineBook, false);
      book_choose(topBoard, engineBook, true);
    }
  });
  book_close(engineBook);
  std::remove("merged.book");
  fuzz::run_trapped([] { mergebooks("fuzz.book fuzz.book merged.book"); });
  return 0;
}
