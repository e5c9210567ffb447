// Test entry point: the fixed tables are process-wide and built once, as the
// engine's start-up does, before any test touches a Board.
#include <gtest/gtest.h>

#include "board/zobrist.h"
#include "control/startup.h"
#include "eval/eval.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  torvek::init_fixed_tables();
  torvek::init_castle_keys();
  torvek::init_search_tables();
  torvek::init_eval_tables();
  return RUN_ALL_TESTS();
}
