// The UCI protocol of torvek_uci: the protocol table and its handlers. They
// translate each command into calls on the board, the search and the
// parameters; "go" releases its line before searching so that "stop",
// "ponderhit" and "isready" reach the search's polling point.
#include <cstring>
#include <strings.h>

#include "board/board.h"
#include "board/castling.h"
#include "control/book_open.h"
#include "control/dispatcher.h"
#include "control/params.h"
#include "control/position_command.h"
#include "core/globals.h"
#include "core/input.h"
#include "core/output.h"
#include "core/text.h"
#include "protocol/protocol.h"
#include "protocol/uci_result.h"
#include "protocol/uci_searchmoves.h"
#include "search/context.h"
#include "search/learn.h"
#include "search/result.h"
#include "search/root.h"
#include "search/timeman.h"
#include "search/tt.h"

namespace torvek {

namespace {

void cmd_uci(const char*) {
  globals.bUCI = true;
  if (!globals.quiet) write_raw("id name Torvek ");
  Print("%s", globals.version);
  Print("id author Veldrin");
  Print("option name UCI_Chess960 type check default false");
  print_uci_options();
  Print("uciok");
}

void cmd_debug(const char* line) {
  SetDebug(strncasecmp(skip_word_and_blanks(line), "on", 2) == 0);
}

void cmd_isready(const char*) {
  DebugPrint("IsReady here followed by readyok");
  Print("readyok");
}

// UCI_Chess960 is a rule, not an engine parameter: it decides how the next
// "position" reads castling rights and castling moves.
bool set_chess960_option(const char* line) {
  const char* name = skip_word_and_blanks(skip_word_and_blanks(line));  // "setoption", "name"
  if (strncasecmp(name, "UCI_Chess960 ", 13) != 0) return false;
  const char* value = skip_word_and_blanks(skip_blanks(name + 13));  // "value"
  set_chess960(strncasecmp(value, "true", 4) == 0);
  return true;
}

void cmd_setoption(const char* line) {
  if (!set_chess960_option(line)) set_uci_option(line);
}

void cmd_ucinewgame(const char*) {
  transpositionTable.clear();
  prepare_search(topBoard);
  uci_position("position startpos");
  learn_new_game();
}

void cmd_position(const char* line) { uci_position(line); }

void cmd_stop(const char*) {
  if (globals.debug) write_line("info string consume 'stop'");
  globals.stopSearch = true;
}

void cmd_ponderhit(const char*) {
  if (searchContext.limits.ponder) {
    ponder_hit();
  } else if (globals.debug) {
    write_line("inf string ERROR, ERROR - ponderhit reached but no ponder search is done");
  }
}

// Each keyword is looked for anywhere in the line (exact case, first
// occurrence); its number starts one character after it.
const char* find_keyword(const char* line, const char* word) { return std::strstr(line, word); }

long long number_after(const char* line, const char* word) {
  const char* at = find_keyword(line, word);
  return at ? read_number(at + std::strlen(word) + (at[std::strlen(word)] ? 1 : 0)) : 0;
}

// A clock a GUI reports as empty or overdrawn still means "move now", not
// "no clock": keep a token millisecond so that the time allocation applies.
unsigned clock_value(long long ms) { return ms < 1 ? 1u : static_cast<unsigned>(ms); }

// The limits of a "go" line; what the line does not name has no limit.
SearchLimits read_go_limits(const char* line) {
  SearchLimits limits;
  if (strcasecmp(line, "go") == 0) return limits;
  auto positive = [](long long v) { return v < 0 ? 0u : static_cast<unsigned>(v); };
  auto has = [line](const char* word) { return find_keyword(line, word) != nullptr; };
  auto number = [line](const char* word) { return number_after(line, word); };
  if (has("depth")) limits.depth_limit = static_cast<int>(number("depth"));
  if (has("ponder")) limits.ponder = true;
  if (has("wtime")) limits.wtime = clock_value(number("wtime"));
  if (has("winc")) limits.winc = positive(number("winc"));
  if (has("btime")) limits.btime = clock_value(number("btime"));
  if (has("binc")) limits.binc = positive(number("binc"));
  if (has("movestogo")) limits.moves_to_go = positive(number("movestogo"));
  if (has("nodes")) limits.node_limit = positive(number("nodes"));
  if (has("mate")) limits.mate_limit = positive(number("mate"));
  if (has("movetime")) limits.move_time = positive(number("movetime"));
  if (has("infinite")) limits.infinite = true;
  read_search_moves(line, limits);
  return limits;
}

void cmd_go(const char* line) {
  globals.searching = true;
  if (globals.debug) {
    write_line("info string inp consumed");
    write_line(" go");
    write_line(" ");
  }
  release_line();
  prepare_search(topBoard);
  open_engine_book();
  searchContext.limits = read_go_limits(line);
  // "go infinite" and a GUI in analysis mode ask about the position, not
  // for a game move.
  searchContext.limits.analysis = searchContext.limits.infinite || uciAnalyseMode;
  searchContext.limits.elo = playing_elo();
  if (globals.debug) Print("info string >%s", line);
  reset_search();
  int score = Root(&topBoard);
  report_result_uci(search_result(searchContext, score));
  globals.searching = false;
}

const CommandEntry kUciTable[] = {
    {"debug ", 6, cmd_debug, "Uci - set debug on/off"},
    {"go", 0, cmd_go, "Uci - Start thinking with current settings"},
    {"go ", 3, cmd_go, "Uci - Start thinking with given parameters"},
    {"isready", 0, cmd_isready, "Uci - sync command. Torvek will answer 'readyok'"},
    {"ponderhit", 0, cmd_ponderhit, "Uci - user made the move Torvek is pondering on"},
    {"position ", 9, cmd_position, "Uci - Setup a position and following moves"},
    {"setoption ", 10, cmd_setoption, "Uci - Set one of Torvek's Options"},
    {"stop", 0, cmd_stop, "Uci - Stop thinking and return bestmove+pondermove (engine internal only)"},
    {"uci", 0, cmd_uci, "Start using UCI protocol. Engines returns 'id', 'options' and 'uciok'"},
    {"uci", 0, cmd_uci, "Start using UCI protocol. Engines returns 'id', 'options' and 'uciok'"},
    {"ucinewgame", 0, cmd_ucinewgame, "Uci - start a new game"},
    {nullptr, 0, nullptr, nullptr},
};

}  // namespace

const bool kWinBoard = false;

const CommandEntry* protocol_table() { return kUciTable; }

void setup_pasted_fen(const char* line) {
  prepare_search(topBoard);
  std::string command = std::string("position fen ") + line;
  uci_position(command.c_str());
}

}  // namespace torvek
