// The engine's start-up, one routine for every program that runs the engine:
// the two protocol programs, the bench signature, the unit tests and the fuzz
// targets. The steps run in one order: the fixed tables (board, pawn masks,
// attacks, castling keys, evaluation), the bitbase, the search tables, the
// parameter defaults (which allocate the hash table), the input log, and last
// the start position with the first search reset. The caller installs its
// hooks and starts its threads afterwards.
#pragma once

namespace torvek {

// The steps that only some callers want.
struct StartupOptions {
  bool loadBitbase = true;        // reads KPK.dat from the working folder (and says so)
  bool parameterDefaults = true;  // every parameter to its default; allocates the hash table
  bool openInputLog = true;       // opens <version>.log when the build logs its input
};

// Safe to call again: it brings the engine back to the state of a fresh start
// apart from the steps the options leave out.
void start_engine(const StartupOptions& options = StartupOptions());

}  // namespace torvek
