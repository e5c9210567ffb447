// Commands while searching: the polling point that the search calls every so
// many nodes, and the wait for the GUI after a ponder or infinite search.
#pragma once

namespace torvek {

// Takes a waiting input line without blocking and acts on the commands that
// are honoured during a search (stop, quit, ponderhit, isready, ...); other
// lines are released unanswered. Never throws; sets globals.stopSearch.
void poll_commands();
// Called when a search has finished while the GUI still expects pondering
// or infinite analysis: waits until "ponderhit", "stop" or "quit".
void WaitForGUI();
// Gives the search the two functions above as its hooks.
void install_search_hooks();

}  // namespace torvek
