// torvek_uci's dispatcher (UCI and console tables) over any run of lines.
#include <cstddef>
#include <cstdint>

#include "fuzz/lines.h"

namespace {
void no_protocol_state() {}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  torvek::fuzz::init_line_session();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  torvek::fuzz::run_line_session(data, size, no_protocol_state);
  return 0;
}
