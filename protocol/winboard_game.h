// The WinBoard game record: the start position and the moves played, the
// clocks and time control the GUI sent, and the ring of the engine's own
// scores that the draw and resign decisions read. The position is never kept
// between commands: it is rebuilt from this record through the position
// command whenever the engine needs it.
#pragma once

#include <string>

#include "search/limits.h"

namespace torvek {

constexpr int kMaxGamePlies = 1024;
constexpr int kScoreSlots = 99;  // slots 0..98 of the ring are used

struct WBGame {
  int sd = 0;    // depth limit, 0 = none
  int st = 0;    // seconds per move, 0 = none
  int mps = 0;   // moves per time control, 0 = whole game
  int base = 0;  // minutes, not used by the limits
  int inc = 0;   // increment in milliseconds (the GUI may send fractions)
  int engineColor = 1;
  int mode = 0;  // 0 force, 1 analyze, 2 play
  std::string startPos;  // empty until "xboard" or "new"
  char moves[kMaxGamePlies][6] = {};
  int moveCount = 0;
  int time = 0, otim = 0;  // centiseconds
  bool timeGiven = false;  // a "time" arrived: a clock of 0 then means "move now"
  bool ponderHit = false;
  int hashMb = 0;
  bool drawOffered = false;
  int scores[100] = {};
  int scoreIndex = 0;

  // Changes whenever the game is replaced or edited under a running search
  // ("new", "force", "setboard", "result", "undo", "remove"): a search begun
  // in an older epoch is never played.
  unsigned epoch = 0;
  // The last recorded move is the guessed reply a ponder search runs on.
  bool ponderMoveInRecord = false;
  // "new" arrived during a search: its parameter and table work waits until
  // the search has unwound.
  bool newGamePending = false;
};

extern WBGame wbGame;

enum Mode { kForceMode = 0, kAnalyzeMode = 1, kPlayMode = 2 };

// Appends a move text; false (record unchanged) when the record is full or
// the text does not fit a slot.
bool record_move(const char* text);
// Takes the guessed reply of a ponder search back out of the record.
void drop_ponder_move();
// Clears the search statistics, sets topBoard from the record and replaces
// the search limits: by those of the clocks with `clocks`, else by none.
// False when the record has no start position or the position command
// refused a move.
bool build_position(bool clocks);
// topBoard from the start position and the first `plies` moves, nothing
// else touched (for checking a move before it is recorded).
bool build_board(int plies);
// The search limits the game's clocks and "sd"/"st" give `side` to move.
SearchLimits clock_limits(int side);
// True when `text` is a legal move in topBoard.
bool is_legal_move_text(const char* text);

// The score ring.
void store_score(int score);
void clear_scores();
bool draw_offer_test();   // after an own move; marks the offer
bool draw_accept_test();  // the opponent offers
bool resign_test();

}  // namespace torvek
