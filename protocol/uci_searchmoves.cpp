// "go searchmoves m1 m2 ...": the GUI asks about some root moves only. The
// list may stand anywhere among the other go tokens, so it ends at the next
// go keyword. Each move is checked against the root position here, where a
// refused token can still be named to the GUI.
#include "protocol/uci_searchmoves.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <strings.h>

#include "board/board.h"
#include "board/movegen.h"
#include "board/movetext.h"
#include "core/output.h"
#include "search/limits.h"

namespace torvek {

namespace {

bool is_go_keyword(const std::string& token) {
  static const char* const kKeywords[] = {"searchmoves", "ponder", "wtime", "btime", "winc",
                                          "binc",        "movestogo", "depth", "nodes", "mate",
                                          "movetime",    "infinite", nullptr};
  for (const char* const* k = kKeywords; *k; k++)
    if (strcasecmp(token.c_str(), *k) == 0) return true;
  return false;
}

// The legal move of topBoard that `token` names, or 0.
int legal_move(const std::string& token) {
  if (token.size() > 5) return 0;
  int move = text_to_move(topBoard, token.c_str());
  return move != 0 && is_legal_move(topBoard, move) ? move : 0;
}

void add_move(SearchLimits& limits, int move) {
  uint16_t* end = limits.search_moves + limits.search_move_count;
  if (std::find(limits.search_moves, end, move) != end || limits.search_move_count >= kMaxMoves)
    return;
  limits.search_moves[limits.search_move_count++] = static_cast<uint16_t>(move);
}

}  // namespace

void read_search_moves(const char* line, SearchLimits& limits) {
  const char* at = std::strstr(line, "searchmoves");
  if (!at) return;
  at += std::strlen("searchmoves");
  std::string token;
  for (const char* p = at;; p++) {
    if (*p && *p != ' ' && *p != '\t') {
      token += *p;
      continue;
    }
    if (!token.empty()) {
      if (is_go_keyword(token)) break;
      int move = legal_move(token);
      if (move)
        add_move(limits, move);
      else
        Print("info string searchmoves: %.40s is not a legal move here, skipped", token.c_str());
      token.clear();
    }
    if (!*p) break;
  }
  if (limits.search_move_count == 0)
    Print("info string searchmoves: no legal move given, searching every move");
}

}  // namespace torvek
