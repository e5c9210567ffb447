// The console command "eval": the static evaluation of the game position,
// printed from White's point of view, on the search's own copy of the board.
#include "board/board.h"
#include "control/console_commands.h"
#include "control/dispatcher.h"
#include "core/globals.h"
#include "core/output.h"
#include "eval/eval.h"
#include "search/context.h"
#include "search/root.h"

namespace torvek {

void cmd_eval(const char*) {
  if (globals.firstTime) prepare_search(topBoard);
  // The first search reset builds the tables; do it here if none ran yet.
  if (!eval_tables_built()) init_eval_tables();
  if (commandHandler.rebuildBoard) commandHandler.rebuildBoard();
  Board& b = searchContext.search_board;
  b = topBoard;
  set_draw_scores(b.side);
  int score = evalu8(b, -30000, 30000);
  if (b.side == kBlack) score = -score;
  Print("\n\neval=%i\n", score);
}

}  // namespace torvek
