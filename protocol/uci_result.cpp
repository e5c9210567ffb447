// The final lines of a UCI search, from the record the search hands back.
#include "protocol/uci_result.h"

#include <string>

#include "core/output.h"
#include "search/report.h"
#include "search/result.h"

namespace torvek {

void report_result_uci(const SearchResult& r) {
  int mate = mate_distance(r.score);
  std::string pv = pv_text(r.pv);
  // With several lines shown, the final one names the line it repeats.
  const char* line = r.multi_pv > 1 ? " multipv 1" : "";
  if (mate != 0)
    Print("info depth %d%s score mate %d nodes %.0f nps %.0f time %.0f pv %s", r.depth, line, mate,
          r.nodes, r.nps, r.elapsed_ms, pv.c_str());
  else
    Print("info depth %d%s score cp %d nodes %.0f nps %.0f time %.0f pv %s", r.depth, line,
          r.score, r.nodes, r.nps, r.elapsed_ms, pv.c_str());
  Print("info hashfull %.0f", r.hashfull);
  QuietLift lift;
  // Without a legal move the UCI null move tells the GUI there is none.
  std::string best = move_text(r.best_move);
  if (r.ponder_move)
    Print("bestmove %s ponder %s", best.c_str(), move_text(r.ponder_move).c_str());
  else
    Print("bestmove %s", best.c_str());
  Print("DBU: 50cnt=%u", static_cast<unsigned>(r.fifty));
}

}  // namespace torvek
