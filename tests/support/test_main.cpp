// Test entry point: the engine starts once, as the programs start it, before
// any test touches a Board; without the bitbase (the tests that need it load
// it), the hash table or the input log. The tests run in a scratch folder of
// their own: what a search writes there (learn.bin after a game's worth of
// stopped searches) never reaches the build folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "control/startup.h"

int main(int argc, char** argv) {
  // A death test's child is this program run again in the parent's folder.
  bool deathTestChild = false;
  for (int i = 1; i < argc; i++)
    deathTestChild |= std::strstr(argv[i], "internal_run_death_test") != nullptr;
  testing::InitGoogleTest(&argc, argv);
  torvek::StartupOptions options;
  options.loadBitbase = false;
  options.parameterDefaults = false;
  options.openInputLog = false;
  torvek::start_engine(options);
  if (deathTestChild) return RUN_ALL_TESTS();
  char scratch[] = "/tmp/torvek_tests_XXXXXX";
  if (!mkdtemp(scratch) || chdir(scratch) != 0) return EXIT_FAILURE;
  int result = RUN_ALL_TESTS();
  std::error_code ec;
  std::filesystem::current_path("/", ec);
  std::filesystem::remove_all(scratch, ec);
  return result;
}
