// What an xboard analysis may change about its root: the moves it leaves out
// ("exclude MOVE", "exclude all", "include MOVE", "include all") and the
// number of lines it shows ("option MultiPV=N"). Both take effect at the next
// search; a running analysis starts again so that the GUI sees them at once.
#pragma once

#include "search/limits.h"

namespace torvek {

void cmd_exclude(const char* line);
void cmd_include(const char* line);
void cmd_option(const char* line);

// The legal moves of topBoard that are not excluded, as the search's root
// list; nothing when no move of this position is excluded. Exclusions belong
// to the position they were given in: a new position drops them.
void apply_exclusions(SearchLimits& limits);

}  // namespace torvek
