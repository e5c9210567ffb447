// Start-up steps of the other subsystems, in one place so that main reads as
// the documented sequence.
#include "control/startup.h"

#include <string>

#include "board/attack.h"
#include "board/board.h"
#include "control/dispatcher.h"
#include "control/params.h"
#include "core/globals.h"
#include "core/input.h"
#include "eval/kpk.h"
#include "eval/pawn_masks.h"
#include "search/ordering.h"
#include "search/root.h"
#include "search/tt.h"

namespace torvek {

void init_fixed_tables() {
  init_board_tables();
  init_pawn_masks();
  init_attack_tables();
}

void load_bitbase() { KPKload(topBoard); }

void init_search_tables() {
  reset_ordering_tables(topBoard);
  transpositionTable.release();
}

void set_parameter_defaults() { apply_parameter_defaults(); }

void open_input_log() {
  if (!inputChannel.logInput) return;
  std::string name = std::string(globals.version) + ".log";
  globals.logFile = std::fopen(name.c_str(), "a");
}

void reset_search_state() { reset_search(); }

void prepare_first_search() { prepare_search(topBoard); }

}  // namespace torvek
