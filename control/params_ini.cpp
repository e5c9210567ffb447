// The WinBoard program reads its parameters from an ini file at every new
// game; missing files and keys leave the row defaults.
#include <algorithm>

#include "board/board.h"
#include "control/params.h"
#include "core/globals.h"
#include "core/ini_reader.h"
#include "core/output.h"
#include "search/params.h"
#include "search/strength.h"
#include <cstdio>
#include <cstdlib>

namespace torvek {

namespace {

// A resign threshold must mean "clearly lost": the row's advertised range
// (0..9999) would make the engine resign in balanced positions, so values from
// the file are kept between -9999 and -100.
constexpr int kResignScoreMin = -9999;
constexpr int kResignScoreMax = -100;

int clamp_row(const IntParam& p, long long v) {
  if (p.target == &paramResignScore) return static_cast<int>(std::clamp<long long>(v, kResignScoreMin, kResignScoreMax));
  return static_cast<int>(std::clamp<long long>(v, p.minimum, p.maximum));
}

bool lazy_eval_on() { return topBoard.LazyEval; }

void report_ini_values() {
  DebugPrint("Some values from the %s file:", globals.iniFileName.c_str());
  DebugPrint("%s", searchParams.OwnBook ? "    use book" : "    don't use book");
  DebugPrint("    Bookfile: %s", bookFileName.c_str());
  DebugPrint("    Hash: %i Mb ", paramHashBytes / 1048576);
  DebugPrint("    LazyEval: %i", lazy_eval_on() ? 1 : 0);
  DebugPrint("    NullEval: %i", searchParams.NullEval ? 1 : 0);
  DebugPrint("    LazyNull: %i", searchParams.LazyNull ? 1 : 0);
  DebugPrint("    LMRresearch: %i", searchParams.LMRresearch ? 1 : 0);
}

}  // namespace

void read_ini() {
  if (globals.iniFileName.size() > 255) {
    Print("Severe Error: inifile name is too long > 255. Will use Torvek.ini");
    globals.iniFileName = "./torvek.ini";
  }
  const std::string& file = globals.iniFileName;
  static bool toldMissing = false;
  if (FILE* f = std::fopen(file.c_str(), "r")) {
    std::fclose(f);
  } else if (!toldMissing) {
    toldMissing = true;
    Print("ini file %s cannot be read: the parameters keep their defaults", file.c_str());
  }
  bookFileName = ini_get_string(file, "Torvek", "BookFile", "nork.book", 200);
  bookOpen = false;
  for (const BoolParam* p = bool_params(); p->name; p++)
    *p->target = ini_get_int(file, "torvek", p->name, p->defaultValue) != 0;
  for (const IntParam* p = int_params(); p->name; p++) {
    int v = gui_override(*p, clamp_row(*p, ini_get_int(file, "Torvek", p->name, p->defaultValue)));
    if (p->kind < kPlain || p->kind > kThreadCount) {
      Print("Error in read_ini Engine paramter");
      std::exit(1);
    }
    *p->target = static_cast<int>(scale_param(p->kind, v));
    if (p->kind == kMegabytes) allocate_hash();
    if (p->kind == kThreadCount) apply_thread_count(*p->target);
  }
  limitStrength = ini_get_int(file, "Torvek", "LimitStrength", 0) != 0;
  strengthElo = static_cast<int>(
      std::clamp<long long>(ini_get_int(file, "Torvek", "Elo", kTopElo), kBottomElo, kTopElo));
  override_strength_from_gui();
  if (globals.debug) report_ini_values();
}

}  // namespace torvek
