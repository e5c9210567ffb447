// A PGN file with SAN moves: makebook over it, then the book it wrote
// probed in a few positions.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "board/board.h"
#include "book/book_tools.h"
#include "book/makebook.h"
#include "book/probe.h"
#include "control/position_command.h"
#include "fuzz/positions.h"
#include "fuzz/support.h"

using namespace torvek;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::init_engine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::reset_with_file("games.pgn", data, size);
  std::remove("out.book");
  fuzz::run_trapped([] { makebook(" -pgn games.pgn -book out.book -mingame 1 -minscore 0 -maxply 30"); });
  Book book;
  fuzz::run_trapped([&] {
    book_open("rb", "out.book", book);
    for (const char* position : fuzz::kProbePositions) {
      uci_position(position);
      bookmoves(book, topBoard);
    }
  });
  return 0;
}
