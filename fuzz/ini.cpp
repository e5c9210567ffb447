// The ini file of the WinBoard program: every parameter row read from it,
// as "new" does at the start of each game.
#include <cstddef>
#include <cstdint>

#include "control/params.h"
#include "core/globals.h"
#include "fuzz/support.h"

using namespace torvek;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::init_engine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::reset_with_file("fuzz.ini", data, size);
  globals.iniFileName = "fuzz.ini";
  fuzz::run_trapped(read_ini);
  return 0;
}
