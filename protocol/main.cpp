// Start-up, main loop and end of session, shared by both programs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <strings.h>
#include <thread>

#include "control/dispatcher.h"
#include "control/poll.h"
#include "control/startup.h"
#include "core/globals.h"
#include "core/guards.h"
#include "core/input.h"
#include "core/output.h"
#include "protocol/protocol.h"

using namespace torvek;

namespace {

long long now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void read_command_line(int argc, char** argv) {
  for (int i = 1; i < argc; i++) {
    if (globals.debug) {
      write_raw("DBG: ");
      write_line(argv[i]);
    }
    if (i >= 3) Print("Too many command line parmaters");
    if (strncasecmp(argv[i], "/ini", 4) == 0 || strncasecmp(argv[i], "-ini", 4) == 0) {
      write_raw(" ");
      if (i + 1 < argc && argv[i + 1][0]) {
        write_raw(argv[i + 1]);
        globals.iniFileName = argv[i + 1];
        i++;
      }
      Print("");
    }
  }
}

void print_session_time(long long startMs) {
  long long seconds = static_cast<long long>((now_ms() - startMs) * 0.001 + 0.5);
  long long days = 0, hours = 0, minutes = 0;
  if (seconds >= 86400) days = seconds / 86400, seconds %= 86400;
  if (seconds >= 3600) hours = seconds / 3600, seconds %= 3600;
  if (seconds >= 60) minutes = seconds / 60, seconds %= 60;
  char text[96];
  if (days)
    std::snprintf(text, sizeof text, "Total session time %lld:%lld:%lld:%lld", days, hours, minutes,
                  seconds);
  else
    std::snprintf(text, sizeof text, "Total session time %lld:%lld:%lld", hours, minutes, seconds);
  write_line("");
  write_line(text);
}

void main_loop() {
  while (!globals.quit) {
    std::string line = take_line();
    if (globals.searching)
      FatalError("\nfile \"%s\", line %d,\n   assertion \"false\" failed. %s\n", ".\\main", 215,
                 "info string ERROR - shouldn't reach this point when searching\n");
    if (HandleInput(line)) break;
    if (globals.searching) write_raw(" back to main ");
    write_line("");
    if (!globals.bUCI && !globals.bWB) write_raw(">");
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdin, nullptr, _IONBF, 0);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  long long startMs = now_ms();
  Print("Torvek by Veldrin");
  globals.iniFileName = "./torvek.ini";
  read_command_line(argc, argv);

  start_engine();
  write_line("");

  commandHandler.protocolTable = protocol_table();
  commandHandler.consoleTable = kConsoleTable;
  commandHandler.setupPastedFen = setup_pasted_fen;
  install_search_hooks();
  if (kWinBoard) install_fault_handlers();
  globals.input.taken = false;
  try {
    std::thread(InputThread, &inputChannel, &globals.input).detach();
  } catch (const std::system_error& e) {
    std::printf("CreateThread failed (%d\n", e.code().value());
    return 1;
  }

  main_loop();

  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  print_session_time(startMs);
  if (globals.logFile) std::fclose(globals.logFile);
  // The input thread may still wait for its last line to be taken; the
  // events it waits on must not be destroyed under it (that never returns).
  std::fflush(stdout);
  std::_Exit(0);
}
