// What makes this program torvek: the WinBoard protocol table in the
// dispatcher's protocol slot, and pasted FENs set up as "setboard" does.
#include "board/board.h"
#include "board/fen.h"
#include "control/dispatcher.h"
#include "control/startup.h"
#include "core/globals.h"
#include "protocol/protocol.h"

namespace torvek {

const bool kWinBoard = true;

const CommandEntry* protocol_table() { return nullptr; }

void setup_pasted_fen(const char* line) {
  prepare_first_search();
  SetupFEN(topBoard, line);
}

}  // namespace torvek
