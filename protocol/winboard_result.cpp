// The end of a WinBoard search, from the record the search hands back. The
// result lines name the winner by colour, so a mate reads the side the
// engine played.
#include "protocol/winboard_result.h"

#include "board/board.h"
#include "board/movetext.h"
#include "core/output.h"
#include "search/report.h"
#include "search/result.h"

namespace torvek {

namespace {

const char* mate_line(bool whiteWins) { return whiteWins ? "1-0 {White mates}" : "0-1 {Black mates}"; }

// WinBoard writes a Chess960 castle as "O-O" / "O-O-O", in both directions.
std::string winboard_move_text(int move) {
  const char* castle = topBoard.chess960 ? castle_text(move) : nullptr;
  return castle ? castle : move_text(move);
}

void print_move_and_hint(const SearchResult& r, std::string& moveText, std::string& hintText) {
  moveText = winboard_move_text(r.best_move);
  QuietLift lift;
  if (r.ponder_move) {
    hintText = winboard_move_text(r.ponder_move);
    Print("move %s\nHint: %s", moveText.c_str(), hintText.c_str());
  } else {
    Print("move %s", moveText.c_str());
  }
}

}  // namespace

GameEnd report_result_winboard(const SearchResult& r, std::string& moveText,
                               std::string& hintText) {
  moveText.clear();
  hintText.clear();
  TellIcs(r.depth, r.score, r.elapsed_ms, r.nodes, pv_text(r.pv).c_str());
  bool engineWhite = r.side == kWhite;
  // No legal move: the GUI waits for an answer, so say why there is none.
  if (r.best_move == 0 && r.no_legal_move) {
    Print("%s", r.in_check ? mate_line(!engineWhite) : "1/2-1/2 {Stalemate}");
    return GameEnd::kMate;
  }
  // A draw by rule is claimed in the position the opponent's move made, so
  // before the engine's own move changes it.
  if (r.draw_by_rule)
    Print("1/2-1/2 %s", r.fifty >= 100 ? "{Draw by 50-move rule}" : "{Draw by repetition}");
  if (r.best_move != 0) print_move_and_hint(r, moveText, hintText);
  Print("DBW: 50cnt=%u", static_cast<unsigned>(r.fifty));
  int mate = mate_distance(r.score);
  if (mate == 1) {
    Print("%s", mate_line(engineWhite));
    return GameEnd::kMate;
  }
  if (mate == -1 && r.best_move == 0) {
    Print("%s", mate_line(!engineWhite));
    return GameEnd::kMate;
  }
  return r.draw_by_rule ? GameEnd::kDraw : GameEnd::kNone;
}

}  // namespace torvek
