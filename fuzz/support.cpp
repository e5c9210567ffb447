// Shared set-up of the fuzz targets.
#include "fuzz/support.h"

#include <fcntl.h>
#include <ftw.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "board/board.h"
#include "board/fen.h"
#include "book/probe.h"
#include "control/params.h"
#include "control/startup.h"
#include "core/globals.h"
#include "search/context.h"
#include "search/fixed_depth.h"
#include "search/hooks.h"
#include "search/learn.h"
#include "search/ordering.h"
#include "search/report.h"
#include "search/root.h"
#include "search/timeman.h"
#include "search/tt.h"

namespace torvek::fuzz {

namespace {

constexpr int kFuzzHashBytes = 1 << 20;

std::string scratchFolder;
std::vector<bool> boolDefaults;
std::vector<int> intDefaults;

int remove_entry(const char* path, const struct stat*, int, struct FTW*) { return std::remove(path); }

void remove_scratch() {
  if (scratchFolder.empty()) return;
  if (chdir("/") == 0) nftw(scratchFolder.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

void enter_scratch_folder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/torvek-fuzz-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back(0);
  if (!mkdtemp(name.data()) || chdir(name.data()) != 0) {
    std::perror("torvek fuzz: scratch folder");
    std::abort();
  }
  scratchFolder = name.data();
  std::atexit(remove_scratch);
}

void mute_output() {
  if (std::getenv("TORVEK_FUZZ_VERBOSE")) return;
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) dup2(null, 1), close(null);
}

void snapshot_parameters() {
  for (const BoolParam* p = bool_params(); p->name; p++) boolDefaults.push_back(*p->target);
  for (const IntParam* p = int_params(); p->name; p++) intDefaults.push_back(*p->target);
}

void restore_parameters() {
  size_t i = 0;
  for (const BoolParam* p = bool_params(); p->name; p++) *p->target = boolDefaults[i++];
  i = 0;
  for (const IntParam* p = int_params(); p->name; p++) *p->target = intDefaults[i++];
  bookFileName = "nork.book";
  bookOpen = false;
  allocate_hash();
}

void reset_globals() {
  globals.quit = false;
  globals.stopSearch = false;
  globals.searching = false;
  globals.bUCI = globals.bWB = false;
  globals.debug = false;
  globals.quiet = false;
  globals.tell = 0;
  globals.onIcs = globals.computerOpponent = false;
  globals.iniFileName = "./torvek.ini";
}

void (*innerPoll)() = nullptr;
double perSearchNodes = 0, totalNodes = 0, spentNodes = 0, lastNodes = 0;

void bounded_poll() {
  SearchContext& sc = searchContext;
  if (sc.nodes < lastNodes) spentNodes += lastNodes;  // a new search began
  lastNodes = sc.nodes;
  if (innerPoll) {
    innerPoll();
  } else {
    report_periodic();
    check_limits();
  }
  if (sc.nodes >= perSearchNodes || spentNodes + sc.nodes >= totalNodes) globals.stopSearch = true;
  if (sc.poll_countdown > 1000) sc.poll_countdown = 1000;
}

}  // namespace

void init_engine() {
  static bool done = false;
  if (done) return;
  done = true;
  mute_output();
  enter_scratch_folder();
  StartupOptions options;
  options.openInputLog = false;
  start_engine(options);
  paramHashBytes = kFuzzHashBytes;
  snapshot_parameters();
  reset_engine();
}

void reset_engine() {
  reset_globals();
  restore_parameters();
  book_close(engineBook);
  learnState = LearnState();
  std::remove("learn.bin");
  SetupFEN(topBoard, kStartFen);
  prepare_search(topBoard);
  reset_ordering_tables(topBoard);
  reset_search();
  reset_node_budget();
}

std::string as_text(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  return std::string(text, strnlen(text, size));
}

void write_file(const char* name, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(name, "wb");
  if (!f) {
    std::perror(name);
    std::abort();
  }
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

void install_bounded_poll(void (*inner)(), double perSearch, double total) {
  innerPoll = inner;
  perSearchNodes = perSearch;
  totalNodes = total;
  searchHooks.poll = bounded_poll;
}

void reset_node_budget() { spentNodes = lastNodes = 0; }

bool node_budget_spent() { return spentNodes + lastNodes >= totalNodes; }

int bounded_search(int depth) {
  reset_node_budget();
  return run_fixed_depth_search(depth);
}

void reset_with_file(const char* name, const uint8_t* data, size_t size) {
  reset_engine();
  write_file(name, data, size);
}

}  // namespace torvek::fuzz
