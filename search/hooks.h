// The search's two calls into the command layer above it. The search only
// declares them; the command layer installs its functions at start-up. Left
// empty (as in the unit tests), a search polls nothing and never waits.
#pragma once

namespace torvek {

using SearchHook = void (*)();

struct SearchHooks {
  SearchHook poll = nullptr;          // every so many nodes: pending input
  SearchHook waitForGui = nullptr;    // a finished ponder or infinite search
};

extern SearchHooks searchHooks;

}  // namespace torvek
