// What each protocol module gives its program: the build switch is which
// module is linked (protocol/uci.cpp into torvek_uci, the WinBoard module
// into torvek); each also defines kWinBoard for the layers below.
#pragma once

#include "control/dispatcher.h"

namespace torvek {

// The dispatcher's protocol table of this program.
const CommandEntry* protocol_table();
// Sets the root board from a pasted FEN line, the way this protocol does.
void setup_pasted_fen(const char* line);

}  // namespace torvek
