// The WinBoard protocol table of torvek and its handlers. Most handlers only
// edit the game record or the clocks; "go", "analyze" and a "usermove" in
// play mode start a search (winboard_play.cpp) after releasing their line.
// Handlers also run nested inside a search (the polling point lets some
// lines through); there they only set flags, the record and the limits.
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "board/board.h"
#include "board/castling.h"
#include "board/fen.h"
#include "control/dispatcher.h"
#include "control/params.h"
#include "core/globals.h"
#include "core/output.h"
#include "core/text.h"
#include "protocol/protocol.h"
#include "protocol/winboard_game.h"
#include "protocol/winboard_play.h"
#include "protocol/winboard_root_set.h"
#include "search/context.h"
#include "search/params.h"
#include "search/root.h"
#include "search/strength.h"
#include "search/timeman.h"

namespace torvek {

namespace {

const char* argument(const char* line) { return skip_word_and_blanks(line); }

// Plain integer conversion, except that a negative count of moves or
// seconds means none.
int count_argument(const char* text) {
  long long v = read_number(text);
  return v < 0 ? 0 : static_cast<int>(v);
}

// A command that edits or replaces the game stops a search running under it;
// its result then belongs to no game and is dropped.
void interrupt_search() {
  wbGame.epoch++;
  if (globals.searching) globals.stopSearch = true;
}

void cmd_xboard(const char*) {
  WBGame& g = wbGame;
  g.sd = g.st = g.mps = g.base = g.inc = 0;
  g.engineColor = 1;
  g.mode = kForceMode;
  g.startPos = "startpos";
  g.moveCount = 0;
  g.time = g.otim = 0;
  g.timeGiven = false;
  g.ponderHit = g.drawOffered = false;
  globals.bWB = true;
  DebugPrint(" xboard ok");
}

void cmd_protover(const char*) {
  if (!globals.bWB)
    FatalError("\nfile \"%s\", line %d,\n   assertion \"globals.bWB\" failed. %s\n", ".\\Winboard", 60,
               "\nprotover command should not appear without xboard first \n");
  Print("feature ping=1 setboard=1 playother=1 usermove=1 sigint=0 reuse=0 colors=0 ics=1 ");
  write_raw("feature ");
  Print("myname=\"Torvek %s\"", globals.version);
  Print("feature smp=1 memory=1 exclude=1 option=\"MultiPV -spin %d 1 256\"", searchParams.MultiPV);
  Print("feature option=\"LimitStrength -check %d\" option=\"Elo -spin %d %d %d\"",
        limitStrength ? 1 : 0, strengthElo, kBottomElo, kTopElo);
  Print("feature variants=\"normal,fischerandom\"");
  Print("feature done=1");
  DebugPrint("protover ok");
}

void cmd_nothing(const char*) {}

void cmd_new(const char*) {
  WBGame& g = wbGame;
  DebugPrint("Prepare a new game");
  bool underSearch = globals.searching;
  interrupt_search();
  set_chess960(false);  // "variant" follows "new" when the game is not normal chess
  g.startPos = "startpos";
  g.moveCount = 0;
  g.ponderMoveInRecord = false;
  g.engineColor = 1;
  g.sd = g.st = g.mps = g.base = g.inc = 0;
  g.ponderHit = false;
  g.hashMb = 96;
  if (g.mode != kAnalyzeMode) g.mode = kPlayMode;
  clear_scores();
  g.drawOffered = false;
  // The ini file may re-allocate the hash table: never under a running search.
  if (underSearch)
    g.newGamePending = true;
  else
    start_new_game_tables();
}

// Only Chess960 is played besides normal chess; its start array follows
// as "setboard". The rule applies from the next set-up position on; moves
// recorded under the other rule would not replay, so the record restarts.
void cmd_variant(const char* line) {
  const char* name = argument(line);
  interrupt_search();
  if (strcasecmp(name, "fischerandom") == 0) {
    set_chess960(true);
  } else {
    set_chess960(false);
    if (strcasecmp(name, "normal") != 0) Print("Error (unsupported variant): %.32s", name);
  }
  wbGame.startPos = "startpos";
  wbGame.moveCount = 0;
}

void cmd_force(const char*) {
  if (wbGame.mode != kForceMode) interrupt_search();
  wbGame.mode = kForceMode;
  DebugPrint("set to force mode");
}

void cmd_go(const char*) { run_go(); }

void cmd_playother(const char*) {
  build_position(false);
  wbGame.engineColor = topBoard.side == kWhite ? 1 : 0;
  wbGame.mode = kPlayMode;
}

// The opponent's move matches the guessed reply: the ponder search goes on
// as the real search, keeping what it found, under the clocks' limits.
void ponder_hit_by_move() {
  WBGame& g = wbGame;
  SearchContext& sc = searchContext;
  g.ponderMoveInRecord = false;
  sc.limits = clock_limits(sc.engine_colour);
  ponder_hit();
  g.ponderHit = true;
  DebugPrint("usermove (and ponder (ponderhit)) stop");
}

bool refuse_move(const char* text, const char* reason) {
  if (reason)
    Print("Illegal move (%s): %s", reason, text);
  else
    Print("Illegal move: %s", text);
  return false;
}

// Checks the move in the position of the first `plies` recorded moves and
// records it there.
bool take_move(const char* text, int plies) {
  if (plies >= kMaxGamePlies) return refuse_move(text, "game record is full");
  if (!build_board(plies) || !is_legal_move_text(text)) return refuse_move(text, nullptr);
  wbGame.moveCount = plies;
  return record_move(text) || refuse_move(text, nullptr);
}

void cmd_usermove(const char* line) {
  WBGame& g = wbGame;
  const char* text = argument(line);
  g.ponderHit = false;
  bool pondering = searchContext.limits.ponder && g.ponderMoveInRecord && g.moveCount > 0;
  if (pondering && strcasecmp(text, g.moves[g.moveCount - 1]) == 0) {
    ponder_hit_by_move();
  } else if (pondering) {
    if (!take_move(text, g.moveCount - 1)) return;
    g.ponderMoveInRecord = false;
    DebugPrint("usermove pondermiss - set break search");
    globals.stopSearch = true;
  } else if (!take_move(text, g.moveCount)) {
    return;
  }
  DebugPrint("usermove ok");
  if (g.mode == kAnalyzeMode) {
    globals.stopSearch = true;
  } else if (g.mode == kForceMode) {
    DebugPrint("mode=%s bSearching=%s", "NONE", globals.searching ? "true" : "false");
  } else if (!globals.searching) {
    DebugPrint("call cmdWBgo('go')");
    run_go();
  } else {
    DebugPrint("mode=%s bSearching=%s", "not NONE", "true");
  }
}

void cmd_analyze(const char*) { run_analysis(); }

void cmd_exit(const char*) {
  if (wbGame.mode != kAnalyzeMode) return;
  globals.stopSearch = true;
  wbGame.mode = kForceMode;
}

// "level MPS BASE INC": BASE may be minutes:seconds (read as its minutes);
// INC may carry a fraction of a second, as xboard sends it.
void cmd_level(const char* line) {
  WBGame& g = wbGame;
  g.st = 0;
  const char* s = argument(line);
  g.mps = count_argument(s);
  s = skip_word_and_blanks(s);
  g.base = count_argument(s);
  s = skip_word_and_blanks(s);
  double inc = std::strtod(s, nullptr);
  g.inc = inc > 0 && inc < 1e6 ? static_cast<int>(inc * 1000 + 0.5) : 0;
  DebugPrint("level ok");
}

void cmd_st(const char* line) { wbGame.st = count_argument(argument(line)); }
void cmd_sd(const char* line) { wbGame.sd = count_argument(argument(line)); }

void cmd_time(const char* line) {
  wbGame.time = static_cast<int>(read_number(argument(line)));
  wbGame.timeGiven = true;
  DebugPrint("time ok");
}

void cmd_otim(const char* line) {
  wbGame.otim = static_cast<int>(read_number(argument(line)));
  Print("dbg: otim ok");
}

void cmd_move_now(const char*) {
  if (!globals.searching) return;
  if (globals.debug) write_line("info string consume 'stop'");
  globals.stopSearch = true;
  if (searchContext.limits.ponder) wbGame.mode = kForceMode;
  DebugPrint("? ok");
}

void cmd_draw(const char*) {
  if (draw_accept_test()) Print("offer draw");
}

void cmd_result(const char*) {
  interrupt_search();
  wbGame.mode = kForceMode;
  DebugPrint("set to force mode");
  DebugPrint("got the result");
}

// A bad FEN is tried on a scratch board first, so it is answered and the
// game stays as it was.
bool fen_is_valid(const char* fen) {
  static Board scratch;
  FatalTrap trap;
  try {
    SetupFEN(scratch, fen);
    return true;
  } catch (const FatalTrapped& e) {
    Print("tellusererror Illegal position: %s", e.message);
    return false;
  }
}

void set_game_start(const char* fen) {
  WBGame& g = wbGame;
  if (!fen_is_valid(fen)) return;
  g.moveCount = 0;
  g.ponderMoveInRecord = false;
  g.startPos = std::string("fen ") + fen;
  build_board(0);
  g.engineColor = topBoard.side == kWhite ? 1 : 0;
}

void cmd_setboard(const char* line) {
  WBGame& g = wbGame;
  if (g.mode == kAnalyzeMode) {
    globals.stopSearch = true;
  } else {
    if (g.mode == kPlayMode || globals.searching) interrupt_search();
    g.mode = kForceMode;
    DebugPrint("set to force mode");
  }
  set_game_start(argument(line));
}

void take_back(int plies) {
  WBGame& g = wbGame;
  if (globals.searching) {
    drop_ponder_move();
    if (g.mode == kAnalyzeMode)
      globals.stopSearch = true;
    else
      interrupt_search();
  }
  g.moveCount = g.moveCount > plies ? g.moveCount - plies : 0;
}

void cmd_undo(const char*) { take_back(1); }
void cmd_remove(const char*) { take_back(2); }

void cmd_hard(const char*) { searchParams.Ponder = true; }
void cmd_easy(const char*) { searchParams.Ponder = false; }

void cmd_ping(const char* line) {
  const char* n = argument(line);
  if (globals.debug) Print("info string ping %s", n);
  if (!globals.quiet) write_raw("pong ");
  Print("%s", n);
}

// xboard's share of the machine: table megabytes and search threads.
void cmd_memory(const char* line) { set_gui_memory(read_number(argument(line))); }
void cmd_cores(const char* line) { set_gui_cores(read_number(argument(line))); }

void cmd_ics(const char* line) { globals.onIcs = std::strcmp(argument(line), "-") != 0; }
void cmd_computer(const char*) { globals.computerOpponent = true; }

const CommandEntry kWinBoardTable[] = {
    {"xboard", 0, cmd_xboard, "WB - Start using the xboard protocol"},
    {"new", 0, cmd_new, "WB - Prepare new game"},
    {"variant ", 8, cmd_variant, "WB - play a variant: normal or fischerandom"},
    {"analyze", 0, cmd_analyze, "WB - Start pondering (analyzing)"},
    {"go", 0, cmd_go, "WB - Start thinking"},
    {"exit", 0, cmd_exit, "WB - Stop analyzing"},
    {"protover ", 9, cmd_protover, "WB - annonces version of protocol"},
    {"ping ", 4, cmd_ping, "WB - pings the engine"},
    {"usermove ", 9, cmd_usermove, "WB - user made that move"},
    {"accepted ", 9, cmd_nothing, "WB - GUI accepted my feature"},
    {"rejected ", 9, cmd_nothing, "WB - GUI rejected my feature"},
    {"force", 0, cmd_force, "WB - set engine in force mode"},
    {"playother", 0, cmd_playother, "WB - set engine to play not stm"},
    {"level ", 6, cmd_level, "WB - set level for the game"},
    {"st ", 3, cmd_st, "WB - set time for move"},
    {"sd ", 3, cmd_sd, "WB - set depth for move"},
    {"time ", 5, cmd_time, "WB - set engines reamaining time"},
    {"otim ", 5, cmd_otim, "WB - set opponents remaining time"},
    {"?", 0, cmd_move_now, "WB - move now"},
    {"Draw", 0, cmd_draw, "WB - user ask for a draw"},
    {"Result ", 7, cmd_result, "WB - the result sent from winboard"},
    {"Setboard ", 9, cmd_setboard, "WB - setup a position from a FEN-string)"},
    {"Undo", 0, cmd_undo, "WB - undo last move"},
    {"Remove", 0, cmd_remove, "WB - undo last 2 moves"},
    {"Hard", 0, cmd_hard, "WB - ponder on"},
    {"Easy", 0, cmd_easy, "WB - ponder off"},
    {"Ics ", 4, cmd_ics, "WB - playing on an Internet Chess Server"},
    {"Computer", 0, cmd_computer, "WB - a computer account on ICS"},
    {"memory ", 7, cmd_memory, "WB - megabytes the engine may use for its hash table"},
    {"cores ", 6, cmd_cores, "WB - cores the engine may use for its search threads"},
    {"option ", 7, cmd_option, "WB - set an engine option (MultiPV=N)"},
    {"exclude ", 8, cmd_exclude, "WB - leave a root move (or all) out of the search"},
    {"include ", 8, cmd_include, "WB - take a root move (or all) back into the search"},
    {nullptr, 0, nullptr, nullptr},
};

// The console's "d" and "eval" look at the game as the record has it.
bool rebuild_from_record() { return build_board(wbGame.moveCount); }

bool analyzing() { return wbGame.mode == kAnalyzeMode; }

// "mirror" hands its position to the game as a new start, in force mode.
void start_from_fen(const char* fen) {
  cmd_force("force");
  set_game_start(fen);
}

}  // namespace

const bool kWinBoard = true;

const CommandEntry* protocol_table() {
  commandHandler.rebuildBoard = rebuild_from_record;
  commandHandler.analyzing = analyzing;
  commandHandler.startFromFen = start_from_fen;
  return kWinBoardTable;
}

// A pasted FEN becomes the game's start, as "setboard" sets it (without the
// analysis stop). Typed at the console, a bad one ends the program as every
// bad FEN there does.
void setup_pasted_fen(const char* line) {
  prepare_search(topBoard);
  SetupFEN(topBoard, line);
  set_game_start(line);
}

}  // namespace torvek
