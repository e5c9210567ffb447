// Thinking, pondering and analysis for the WinBoard protocol. Every search
// remembers the game's epoch: when the GUI replaced or edited the game while
// it ran ("new", "force", "setboard", "result", "undo", "remove"), its result
// is dropped, so an old game's move never appears in the new one.
#include "protocol/winboard_play.h"

#include <string>

#include "board/board.h"
#include "control/book_open.h"
#include "control/params.h"
#include "core/globals.h"
#include "core/input.h"
#include "core/output.h"
#include "protocol/winboard_game.h"
#include "protocol/winboard_result.h"
#include "protocol/winboard_root_set.h"
#include "search/context.h"
#include "search/params.h"
#include "search/result.h"
#include "search/root.h"

namespace torvek {

namespace {

// Writes the move and the game-end lines and records the move; false when
// the engine has nothing to play or the game is over for it.
bool play_result(int score, std::string& hint) {
  std::string moveText;
  GameEnd end = report_result_winboard(search_result(searchContext, score), moveText, hint);
  if (!moveText.empty() && !record_move(moveText.c_str()))
    Print("Error (game record is full, %d plies): %s", kMaxGamePlies, moveText.c_str());
  if (end == GameEnd::kMate || moveText.empty()) {
    wbGame.mode = kForceMode;  // stop playing this side, as after "force"
    return false;
  }
  return true;
}

void offer_draw_or_resign() {
  if (draw_offer_test())
    Print("offer draw");
  else if (resign_test())
    Print("resign");
}

bool still_playing(unsigned epoch) {
  return wbGame.epoch == epoch && wbGame.mode == kPlayMode && !globals.quit;
}

// One ponder cycle on `hint`; false when pondering ends. On a hit the ponder
// search itself became the real search; on a miss a fresh one runs.
bool ponder_once(std::string& hint, unsigned epoch) {
  WBGame& g = wbGame;
  if (!record_move(hint.c_str())) return false;
  g.ponderMoveInRecord = true;
  g.ponderHit = false;
  build_position(false);
  DebugPrint("go start ponder search (call Root) on %s", hint.c_str());
  searchContext.limits.ponder = true;
  int score = Root(&topBoard);
  searchContext.limits.ponder = false;
  if (!still_playing(epoch) || !globals.searching) {
    drop_ponder_move();
    return false;
  }
  if (!g.ponderHit) {
    // Ended without the opponent's move (for instance "?"): nothing to play.
    if (g.ponderMoveInRecord) {
      drop_ponder_move();
      return false;
    }
    build_position(true);
    g.mode = kPlayMode;
    DebugPrint("pondermiss (%s) calls a fresh search", hint.c_str());
    score = Root(&topBoard);
    DebugPrint("back from search with eval=%d", score);
    if (!still_playing(epoch)) return false;
  }
  searchContext.refresh_elapsed();
  store_score(score);
  hint.clear();
  if (!play_result(score, hint)) return false;
  offer_draw_or_resign();
  return searchParams.Ponder;
}

void think() {
  WBGame& g = wbGame;
  unsigned epoch = g.epoch;
  if (g.moveCount >= kMaxGamePlies) {
    Print("Error (game record is full, %d plies): no move", kMaxGamePlies);
    return;
  }
  if (!build_position(true)) return;
  apply_exclusions(searchContext.limits);
  g.engineColor = topBoard.side;
  g.mode = kPlayMode;
  open_engine_book();
  DebugPrint("go calls Root search");
  int score = Root(&topBoard);
  if (!still_playing(epoch)) return;
  store_score(score);
  std::string hint;
  if (!play_result(score, hint)) return;
  offer_draw_or_resign();
  while (searchParams.Ponder && globals.searching && !hint.empty() && still_playing(epoch))
    if (!ponder_once(hint, epoch)) break;
  DebugPrint("go stop");
}

void finish_pending_new() {
  apply_pending_gui_settings();
  if (!wbGame.newGamePending) return;
  wbGame.newGamePending = false;
  start_new_game_tables();
}

}  // namespace

void start_new_game_tables() {
  if (wbGame.mode != kAnalyzeMode) {
    read_ini();
    open_engine_book();
  }
  wbGame.hashMb = paramHashBytes / 1048576;
  prepare_search(topBoard);
}

void run_go() {
  globals.searching = true;
  release_line();
  think();
  globals.searching = false;
  finish_pending_new();
}

void run_analysis() {
  WBGame& g = wbGame;
  globals.searching = true;
  release_line();
  bool ownBook = searchParams.OwnBook;
  searchParams.OwnBook = false;
  g.mode = kAnalyzeMode;
  do {
    finish_pending_new();
    build_position(true);
    g.engineColor = topBoard.side;
    DebugPrint("go calls Root search - Analyze");
    DebugPrint("Not ready yet");
    DebugPrint("go infinite time");
    searchContext.limits.infinite = true;
    searchContext.limits.analysis = true;
    apply_exclusions(searchContext.limits);
    Root(&topBoard);
    searchContext.limits.infinite = false;
  } while (g.mode == kAnalyzeMode && !globals.quit);
  g.mode = kForceMode;
  searchParams.OwnBook = ownBook;
  globals.searching = false;
  finish_pending_new();
}

}  // namespace torvek
