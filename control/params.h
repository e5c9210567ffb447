// Engine parameters, declared once in two tables (on/off and integer rows)
// that serve the start-up defaults, the ini file of the WinBoard program and
// the UCI option list and "setoption". Each row points at the variable that
// holds the parameter where it is used.
#pragma once

#include <string>

namespace torvek {

struct BoolParam {
  const char* name;
  int compareLength;  // 0: the name's length
  bool* target;
  bool defaultValue;
};

// How a user's value becomes the stored value.
enum ParamKind {
  kPlain = 0,      // v
  kPlyHundredths = 1,  // (v * 64 + 50) / 100: 64 units make one ply
  kPercent16384 = 2,   // (v * 16384 + 50) / 100
  kMegabytes = 3,      // v * 1048576 bytes; re-allocates the hash table
  kThreadCount = 4,    // v search threads, 1..256; starts or ends helper threads
};

struct IntParam {
  const char* name;
  int compareLength;
  int* target;
  int defaultValue, minimum, maximum;
  int kind;
};

// Rows of the tables, ending with a null name; the WinBoard-only rows are
// present only in the WinBoard program.
const BoolParam* bool_params();
const IntParam* int_params();

// Storage of the parameters that belong to the protocols (the search's own
// are in search/params.h, the lazy-evaluation pair in topBoard).
extern bool paramDraw, paramResign;
extern int paramResignScore, paramResignNumber, paramDrawScore, paramDrawNumber;
extern int paramHashBytes;
extern int paramThreads;
// UCI_AnalyseMode: the GUI analyses with every "go", so no book move and no
// learning even under a clock.
extern bool uciAnalyseMode;
// Playing strength: UCI_LimitStrength and UCI_Elo (LimitStrength and Elo in
// the ini file and xboard's options). The level counts only while the limit
// is on.
extern bool limitStrength;
extern int strengthElo;
// The level a game search plays at: strengthElo with the limit on, else 0.
int playing_elo();
extern std::string bookFileName;
extern bool bookOpen;

// Plain integer conversion of a command argument: leading number or 0,
// saturated at the 32-bit range.
long long read_number(const char* text);
// Stored value of a user's value by kind; 64-bit so that no input overflows.
long long scale_param(int kind, long long v);
void apply_parameter_defaults();
// Re-allocates the hash table for paramHashBytes.
void allocate_hash();
// Sets the search threads to `count`, clamped to the Threads row's range;
// paramThreads becomes the count that could be started.
void apply_thread_count(long long count);

// The WinBoard GUI's "memory N" and "cores N": clamped to the ranges of the
// Hash and Threads rows, applied at once (after the search, when one runs)
// and kept over the ini file's values at every new game.
void set_gui_memory(long long megabytes);
void set_gui_cores(long long cores);
// xboard's "option MultiPV=N", clamped to the MultiPV row, at once.
void set_gui_multipv(long long lines);
// xboard's "option LimitStrength=0|1" and "option Elo=N" (clamped to the
// level range), at once and kept over the ini file's values.
void set_gui_limit_strength(bool on);
void set_gui_elo(long long elo);
// After the ini file: the strength values the GUI sent win.
void override_strength_from_gui();
// What "memory" or "cores" left for the end of a search.
void apply_pending_gui_settings();
// The ini reader's value of `row`, or the GUI's where it sent one.
int gui_override(const IntParam& row, int value);
// Back to "the GUI sent neither" (the ini file decides again).
void forget_gui_settings();

// The UCI side: the option list of "uci" (compile-time defaults) and one
// "setoption" line.
void print_uci_options();
void set_uci_option(const char* line);

// The WinBoard side: reads every row from the ini file named in globals.
void read_ini();

}  // namespace torvek
