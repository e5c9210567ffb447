// What makes this program torvek_uci: the UCI protocol table in the
// dispatcher's protocol slot, and pasted FENs set up as "position fen".
#include "board/board.h"
#include "board/fen.h"
#include "control/dispatcher.h"
#include "control/globals.h"
#include "control/startup.h"

namespace torvek {

const bool kWinBoard = false;

const CommandEntry* protocol_table() { return nullptr; }

void setup_pasted_fen(const char* line) {
  prepare_first_search();
  SetupFEN(topBoard, line);
}

}  // namespace torvek
