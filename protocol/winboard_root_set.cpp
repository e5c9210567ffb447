#include "protocol/winboard_root_set.h"

#include <algorithm>
#include <cstdint>
#include <strings.h>

#include "board/board.h"
#include "board/movegen.h"
#include "board/movetext.h"
#include "control/params.h"
#include "core/globals.h"
#include "core/output.h"
#include "core/text.h"
#include "protocol/winboard_game.h"

namespace torvek {

namespace {

struct ExcludedMoves {
  uint64_t key = 0;  // the position they belong to
  int count = 0;
  uint16_t moves[kMaxMoves] = {};
};

ExcludedMoves excluded;

bool is_excluded(int move) {
  const uint16_t* end = excluded.moves + excluded.count;
  return std::find(static_cast<const uint16_t*>(excluded.moves), end, move) != end;
}

// topBoard as the game stands and its legal moves; the exclusions of any
// other position are forgotten.
bool current_position(MoveList& legal) {
  if (!build_board(wbGame.moveCount)) return false;
  if (topBoard.hashKey != excluded.key) {
    excluded.key = topBoard.hashKey;
    excluded.count = 0;
  }
  legal.count = 0;
  gen_legal(topBoard, legal);
  return true;
}

int searchable_count(const MoveList& legal) {
  int n = 0;
  for (int i = 0; i < legal.count; i++) n += is_excluded(legal.moves[i]) ? 0 : 1;
  return n;
}

// The legal move `text` names, or 0 after telling the GUI it is none.
int named_move(const char* text, const char* line) {
  int move = text_to_move(topBoard, text);
  if (move != MoveNone && is_legal_move(topBoard, move)) return move;
  Print("Error (not a legal move): %.80s", line);
  return 0;
}

void restart_analysis() {
  if (wbGame.mode == kAnalyzeMode && globals.searching) globals.stopSearch = true;
}

}  // namespace

void cmd_exclude(const char* line) {
  const char* text = skip_word_and_blanks(line);
  MoveList legal;
  if (!current_position(legal)) return;
  if (strcasecmp(text, "all") == 0) {
    excluded.count = 0;
    for (int i = 0; i < legal.count; i++) excluded.moves[excluded.count++] = legal.moves[i];
  } else {
    int move = named_move(text, line);
    if (move == 0) return;
    if (!is_excluded(move)) excluded.moves[excluded.count++] = static_cast<uint16_t>(move);
  }
  // Nothing left to search: the running search keeps its moves until one is
  // included again, and a search started meanwhile takes them all. "exclude
  // all" is the usual first half of "analyse only these", so only a move
  // by move exclusion of the last one is worth a word.
  if (searchable_count(legal) == 0) {
    if (strcasecmp(text, "all") != 0) Print("Error (every legal move is excluded): %.80s", line);
    return;
  }
  restart_analysis();
}

void cmd_include(const char* line) {
  const char* text = skip_word_and_blanks(line);
  MoveList legal;
  if (!current_position(legal)) return;
  if (strcasecmp(text, "all") == 0) {
    excluded.count = 0;
  } else {
    int move = named_move(text, line);
    if (move == 0) return;
    uint16_t* end = excluded.moves + excluded.count;
    excluded.count = static_cast<int>(std::remove(excluded.moves, end, move) - excluded.moves);
  }
  restart_analysis();
}

void cmd_option(const char* line) {
  const char* text = skip_word_and_blanks(line);
  if (strncasecmp(text, "MultiPV=", 8) == 0) {
    set_gui_multipv(read_number(text + 8));
    restart_analysis();
    return;
  }
  if (strncasecmp(text, "LimitStrength=", 14) == 0) {
    set_gui_limit_strength(read_number(text + 14) != 0);
    return;
  }
  if (strncasecmp(text, "Elo=", 4) == 0) {
    set_gui_elo(read_number(text + 4));
    return;
  }
  Print("Error (unknown option): %.80s", line);
}

void apply_exclusions(SearchLimits& limits) {
  if (excluded.count == 0 || topBoard.hashKey != excluded.key) return;
  MoveList legal;
  legal.count = 0;
  gen_legal(topBoard, legal);
  limits.search_move_count = 0;
  for (int i = 0; i < legal.count; i++)
    if (!is_excluded(legal.moves[i]))
      limits.search_moves[limits.search_move_count++] = legal.moves[i];
}

}  // namespace torvek
