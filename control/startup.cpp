// The start-up sequence. Each step needs only the ones above it: the board,
// attack and evaluation tables before the first position is set up (its
// piece-square sums are read from them), the search tables before the
// parameters size the hash table, and the first search reset last.
#include "control/startup.h"

#include <cstdio>
#include <string>

#include "board/attack.h"
#include "board/board.h"
#include "board/fen.h"
#include "board/zobrist.h"
#include "control/params.h"
#include "core/globals.h"
#include "core/input.h"
#include "eval/eval.h"
#include "eval/kpk.h"
#include "eval/pawn_masks.h"
#include "search/ordering.h"
#include "search/root.h"
#include "search/tt.h"

namespace torvek {

namespace {

void init_fixed_tables() {
  init_board_tables();
  init_pawn_masks();
  init_attack_tables();
  init_castle_keys();
  init_eval_tables();
}

void init_search_tables() {
  reset_ordering_tables(topBoard);
  transpositionTable.release();
}

void open_input_log() {
  if (!inputChannel.logInput || globals.logFile) return;
  std::string name = std::string(globals.version) + ".log";
  globals.logFile = std::fopen(name.c_str(), "a");
}

// The first search reset also clears the evaluation's caches and the quiet
// switch; a second start-up does that again, as a fresh process would.
void set_up_first_position() {
  globals.firstTime = true;
  reset_search();
  SetupFEN(topBoard, kStartFen);
  prepare_search(topBoard);
}

}  // namespace

void start_engine(const StartupOptions& options) {
  init_fixed_tables();
  if (options.loadBitbase) KPKload(topBoard);
  init_search_tables();
  if (options.parameterDefaults) apply_parameter_defaults();
  if (options.openInputLog) open_input_log();
  set_up_first_position();
}

}  // namespace torvek
