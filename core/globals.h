// The process-wide run-time state that every subsystem reads. Only `input`,
// `quit` and `debug` are shared with the input thread; the flags are atomics
// so that the polling on both sides is well defined.
#pragma once

#include <atomic>
#include <cstdio>
#include <string>

namespace torvek {

struct InputSlot {
  std::string line;
  bool taken = false;
};

struct Globals {
  FILE* logFile = nullptr;
  InputSlot input;
  int tell = 0;
  bool onIcs = false;
  bool computerOpponent = false;
  bool firstTime = true;
  std::atomic<bool> debug{false};
  bool quiet = false;
  bool bUCI = false;
  bool bWB = false;
  std::atomic<bool> stopSearch{false};
  std::atomic<bool> quit{false};
  bool searching = false;
  char version[8] = {'7', '0', '4', 0, 0, 0, 0, 0};
  std::string iniFileName = "./torvek.ini";
};

extern Globals globals;

// Fixed at build time: true in `torvek` (WinBoard), false in `torvek_uci`.
// Each program links exactly one definition, next to its protocol table.
extern const bool kWinBoard;

}  // namespace torvek
