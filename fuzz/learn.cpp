// A learning file: read into the table as a new game does, then short
// searches of positions its records may claim.
#include <cstddef>
#include <cstdint>

#include "control/position_command.h"
#include "fuzz/positions.h"
#include "fuzz/support.h"
#include "search/learn.h"

using namespace torvek;

namespace {
constexpr double kNodesPerSearch = 20000;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::init_engine();
  fuzz::install_bounded_poll(nullptr, kNodesPerSearch, kNodesPerSearch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::reset_with_file("learn.bin", data, size);
  learn_new_game();
  for (const char* position : {fuzz::kProbePositions[0], fuzz::kProbePositions[2]}) {
    fuzz::run_trapped([&] {
      uci_position(position);
      fuzz::bounded_search(4);
    });
  }
  return 0;
}
