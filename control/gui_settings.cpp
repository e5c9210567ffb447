// The WinBoard GUI's "memory N", "cores N" and its options (MultiPV, the
// strength limit). xboard sends them just before
// every "new", and "new" reads the ini file, so the GUI's values are kept
// and win over the file's Hash and Threads. A value that arrives during a
// search (xboard may send "cores" at any time) waits for its end: the table
// and the helper threads cannot change under a running search.
#include <algorithm>

#include "control/params.h"
#include "core/globals.h"
#include "search/params.h"
#include "search/strength.h"

namespace torvek {

namespace {

int guiHashMegabytes = 0;  // 0: no "memory" yet
int guiThreads = 0;        // 0: no "cores" yet
int guiMultiPv = 0;        // 0: no "option MultiPV=N" yet
int guiLimitStrength = -1;  // -1: no "option LimitStrength=..." yet
int guiElo = 0;             // 0: no "option Elo=N" yet
bool memoryPending = false, coresPending = false;

const IntParam& row_of_kind(int kind) {
  const IntParam* p = int_params();
  while (p->name && p->kind != kind) p++;
  return *p;
}

int clamp_to_row(int kind, long long v) {
  const IntParam& row = row_of_kind(kind);
  return static_cast<int>(std::clamp<long long>(v, row.minimum, row.maximum));
}

void apply_memory() {
  memoryPending = false;
  int bytes = static_cast<int>(scale_param(kMegabytes, guiHashMegabytes));
  if (bytes == paramHashBytes) return;
  paramHashBytes = bytes;
  allocate_hash();
}

void apply_cores() {
  coresPending = false;
  apply_thread_count(guiThreads);
}

}  // namespace

void set_gui_memory(long long megabytes) {
  guiHashMegabytes = clamp_to_row(kMegabytes, megabytes);
  if (globals.searching)
    memoryPending = true;
  else
    apply_memory();
}

void set_gui_cores(long long cores) {
  guiThreads = clamp_to_row(kThreadCount, cores);
  if (globals.searching)
    coresPending = true;
  else
    apply_cores();
}

// Read at the start of each search only, so it may change during one.
void set_gui_multipv(long long lines) {
  const IntParam* row = int_params();
  while (row->name && row->target != &searchParams.MultiPV) row++;
  guiMultiPv = static_cast<int>(std::clamp<long long>(lines, row->minimum, row->maximum));
  searchParams.MultiPV = guiMultiPv;
}

void set_gui_limit_strength(bool on) {
  guiLimitStrength = on ? 1 : 0;
  limitStrength = on;
}

void set_gui_elo(long long elo) {
  guiElo = static_cast<int>(std::clamp<long long>(elo, kBottomElo, kTopElo));
  strengthElo = guiElo;
}

void override_strength_from_gui() {
  if (guiLimitStrength >= 0) limitStrength = guiLimitStrength == 1;
  if (guiElo) strengthElo = guiElo;
}

void apply_pending_gui_settings() {
  if (memoryPending) apply_memory();
  if (coresPending) apply_cores();
}

void forget_gui_settings() {
  guiHashMegabytes = guiThreads = guiMultiPv = guiElo = 0;
  guiLimitStrength = -1;
  memoryPending = coresPending = false;
}

int gui_override(const IntParam& row, int value) {
  if (row.kind == kMegabytes && guiHashMegabytes) return guiHashMegabytes;
  if (row.kind == kThreadCount && guiThreads) return guiThreads;
  if (row.target == &searchParams.MultiPV && guiMultiPv) return guiMultiPv;
  return value;
}

}  // namespace torvek
