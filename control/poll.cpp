// Placeholder polling point until the protocol's commands-while-searching
// land: lines that arrive during a search wait for the main loop.
#include "control/poll.h"

namespace torvek {

void poll_commands() {}

void WaitForGUI() {}

}  // namespace torvek
