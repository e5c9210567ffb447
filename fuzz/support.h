// What every fuzz target shares: the engine set up as main sets it up, a
// scratch folder as working directory, fatal errors turned into a return to
// the target, and searches kept short so that a slow input is a real hang.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/output.h"

namespace torvek::fuzz {

// Once per process: fixed tables, bitbase, search tables and parameter
// defaults in main's order, a 1 MB hash, standard output sent to /dev/null
// (unless TORVEK_FUZZ_VERBOSE is set) and a fresh scratch folder as the
// working directory, removed at exit.
void init_engine();
// Back to the state after init_engine: parameters, session flags, the root
// board, search and learning state, no open book, no learn.bin.
void reset_engine();

// The bytes as a C string would see them (up to the first NUL).
std::string as_text(const uint8_t* data, size_t size);
// Writes the bytes to `name` in the working directory.
void write_file(const char* name, const uint8_t* data, size_t size);
// The start of every file target's input: reset_engine, then the input
// written to `name` for the engine to read.
void reset_with_file(const char* name, const uint8_t* data, size_t size);

// Runs `body` with FatalError turned into a FatalTrapped exception; false
// when the body hit a fatal error (the engine would have ended there).
template <class Body>
bool run_trapped(Body&& body) {
  FatalTrap trap;
  try {
    body();
    return true;
  } catch (const FatalTrapped&) {
    return false;
  }
}

// Installs a polling hook that calls `inner` (or, when null, does what the
// search does without a hook), polls at least every 1000 nodes and stops a
// search after `perSearch` nodes, and every search of the input once
// `total` nodes have been spent since reset_node_budget.
void install_bounded_poll(void (*inner)(), double perSearch, double total);
void reset_node_budget();
// True once the searches since reset_node_budget have spent `total` nodes:
// every later search would stop at its first poll.
bool node_budget_spent();

// Searches topBoard to `depth` plies under the bounded hook.
int bounded_search(int depth);

}  // namespace torvek::fuzz
