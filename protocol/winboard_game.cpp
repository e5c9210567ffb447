// The WinBoard game record and what is derived from it: the position, the
// search limits from the clocks, and the draw and resign tests on the ring
// of the engine's scores.
#include "protocol/winboard_game.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "board/board.h"
#include "board/movegen.h"
#include "board/movetext.h"
#include "control/params.h"
#include "control/position_command.h"
#include "core/output.h"
#include "search/context.h"
#include "search/root.h"

namespace torvek {

WBGame wbGame;

namespace {

constexpr int kMateBand = 29600;

std::string position_command(int plies) {
  std::string line = "position " + wbGame.startPos;
  if (plies > 0) line += " moves";
  for (int i = 0; i < plies; i++) {
    line += ' ';
    line += wbGame.moves[i];
  }
  return line;
}

// A clock in centiseconds as the search's milliseconds. A clock that has run
// out (0 or below once the GUI sent one) must still mean "move now", so it
// keeps a token millisecond instead of reading as "no clock".
unsigned clock_ms(int centiseconds) {
  if (centiseconds <= 0) return wbGame.timeGiven ? 1u : 0u;
  return static_cast<unsigned>(std::min<long long>(centiseconds * 10LL, 0x7fffffffLL));
}

// The k-th newest stored score (k = 1, 2, ...), walking back around the ring.
int newest_score(int k) {
  int slot = wbGame.scoreIndex - k;
  while (slot < 0) slot += kScoreSlots;
  return wbGame.scores[slot % kScoreSlots];
}

bool is_mate_score(int s) { return std::abs(s) > kMateBand && std::abs(s) <= 30000; }

}  // namespace

bool record_move(const char* text) {
  size_t length = std::strlen(text);
  if (wbGame.moveCount >= kMaxGamePlies || length == 0 || length >= sizeof wbGame.moves[0])
    return false;
  std::memcpy(wbGame.moves[wbGame.moveCount], text, length + 1);
  wbGame.moveCount++;
  return true;
}

void drop_ponder_move() {
  if (!wbGame.ponderMoveInRecord) return;
  wbGame.ponderMoveInRecord = false;
  if (wbGame.moveCount > 0) wbGame.moveCount--;
}

bool build_board(int plies) {
  if (wbGame.startPos.empty()) {
    Print("ERROR in the Position string - no startpos of fen-command");
    return false;
  }
  return uci_position(position_command(plies).c_str());
}

SearchLimits clock_limits(int side) {
  const WBGame& g = wbGame;
  SearchLimits limits;
  limits.elo = playing_elo();
  if (g.sd > 0) limits.depth_limit = g.sd;
  bool white = side == kWhite;
  limits.wtime = clock_ms(white ? g.time : g.otim);
  limits.btime = clock_ms(white ? g.otim : g.time);
  limits.winc = limits.binc = static_cast<unsigned>(std::max(0, g.inc));
  if (g.mps > 0) {
    // Not reduced modulo the moves per control: after the first control it
    // is 0 or below, which the time allocation reads as "unknown".
    int togo = g.mps - (white ? g.moveCount + 1 : g.moveCount) / 2;
    limits.moves_to_go = togo > 0 ? static_cast<unsigned>(togo) : 0u;
  }
  if (g.st > 0) limits.move_time = static_cast<unsigned>(std::min(g.st, 2000000)) * 1000u;
  return limits;
}

bool build_position(bool clocks) {
  reset_search();
  bool ok = build_board(wbGame.moveCount);
  searchContext.limits = clocks ? clock_limits(topBoard.side) : SearchLimits();
  return ok;
}

bool is_legal_move_text(const char* text) {
  if (std::strlen(text) >= sizeof wbGame.moves[0]) return false;
  int move = text_to_move(topBoard, text);
  return move != MoveNone && is_legal_move(topBoard, move);
}

void store_score(int score) {
  if (wbGame.scoreIndex > kScoreSlots - 1) wbGame.scoreIndex = 0;
  wbGame.scores[wbGame.scoreIndex++] = score;
}

void clear_scores() {
  for (int i = 0; i < kScoreSlots; i++) wbGame.scores[i] = 30000;
  wbGame.scoreIndex = 0;
}

bool draw_offer_test() {
  if (!paramDraw || wbGame.drawOffered) return false;
  for (int k = 1; k <= paramDrawNumber && k <= kScoreSlots; k++) {
    int s = newest_score(k);
    if (s < paramDrawScore - 25 || s > paramDrawScore) return false;
  }
  wbGame.drawOffered = true;
  return true;
}

bool draw_accept_test() {
  if (!paramDraw) return false;
  for (int k = 1; k <= paramDrawNumber && k <= kScoreSlots; k++)
    if (newest_score(k) > paramDrawScore) return false;
  return true;
}

bool resign_test() {
  if (!paramResign) return false;
  for (int k = 1; k <= paramResignNumber && k <= kScoreSlots; k++) {
    int s = newest_score(k);
    if (s > paramResignScore || is_mate_score(s)) return false;
  }
  return true;
}

}  // namespace torvek
