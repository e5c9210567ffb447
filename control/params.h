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

// The UCI side: the option list of "uci" (compile-time defaults) and one
// "setoption" line.
void print_uci_options();
void set_uci_option(const char* line);

// The WinBoard side: reads every row from the ini file named in globals.
void read_ini();

}  // namespace torvek
