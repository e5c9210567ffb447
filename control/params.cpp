// The parameter tables, their defaults and the UCI option list and
// "setoption". The WinBoard program also reads the same rows from its ini
// file (params_ini.cpp).
#include "control/params.h"
#include "core/text.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "board/board.h"
#include "control/hash_bridge.h"
#include "core/globals.h"
#include "core/output.h"
#include "search/params.h"
#include "search/strength.h"
#include "search/threads.h"

namespace torvek {

bool paramDraw, paramResign;
int paramTell, paramResignScore, paramResignNumber, paramDrawScore, paramDrawNumber;
int paramHashBytes;
int paramThreads = 1;
bool uciAnalyseMode = false;
bool limitStrength = false;
int strengthElo = kTopElo;

int playing_elo() { return limitStrength ? std::clamp(strengthElo, kBottomElo, kTopElo) : 0; }
std::string bookFileName = "nork.book";
bool bookOpen = false;

namespace {

// The WinBoard-only rows come first in both tables; the UCI program starts
// past them.
constexpr int kWinBoardBoolRows = 2;
constexpr int kWinBoardIntRows = 6;

BoolParam kBoolParams[] = {
    {"Draw", 0, &paramDraw, true},
    {"Resign", 0, &paramResign, true},
    {"LazyEval ", 9, &topBoard.LazyEval, true},
    {"LazyNull", 0, &searchParams.LazyNull, false},
    {"LMRresearch", 0, &searchParams.LMRresearch, true},
    {"NullEval", 0, &searchParams.NullEval, true},
    {"OwnBook", 0, &searchParams.OwnBook, true},
    {"Ponder", 0, &searchParams.Ponder, true},
    {nullptr, 0, nullptr, false},
};

IntParam kIntParams[] = {
    {"Tell", 0, &globals.tell, 0, 0, 3, kPlain},
    {"ResignScore", 0, &paramResignScore, -800, 0, 9999, kPlain},
    {"ResignNumber", 0, &paramResignNumber, 3, 1, 999, kPlain},
    {"DrawScore", 0, &paramDrawScore, 0, -9999, 100, kPlain},
    {"DrawNumber", 0, &paramDrawNumber, 6, 1, 999, kPlain},
    // UCI names it with a blank ("Move Overhead"): its option line and
    // setoption are written out below.
    {"MoveOverhead", 0, &searchParams.MoveOverhead, 100, 0, 5000, kPlain},
    {"Hash", 0, &paramHashBytes, 64, 16, 1024, kMegabytes},
    {"HistoryValue", 0, &searchParams.HistoryValue, 60, 0, 100, kPercent16384},
    {"LazyEvalLimit", 0, &topBoard.LazyEvalLimit, 200, 0, 700, kPlain},
    {"LearnDepth", 0, &searchParams.LearnDepth, 6, 0, 20, kPlain},
    {"LMRMoveNumber", 0, &searchParams.LMRMoveNumber, 3, 1, 5, kPlain},
    {"LMRreduction", 0, &searchParams.LMRreduction, 100, 0, 600, kPlyHundredths},
    {"LMRStartDepth", 0, &searchParams.LMRStartDepth, 300, 0, 600, kPlyHundredths},
    {"MultiPV", 0, &searchParams.MultiPV, 1, 1, 256, kPlain},
    {"NullReduction", 0, &searchParams.NullReduction, 300, 0, 600, kPlyHundredths},
    {"NullStartDepth", 0, &searchParams.NullStartDepth, 200, 0, 600, kPlyHundredths},
    {"Threads", 0, &paramThreads, 1, 1, kMaxSearchThreads, kThreadCount},
    {nullptr, 0, nullptr, 0, 0, 0, 0},
};

constexpr int kMoveOverheadDefault = 100, kMoveOverheadMax = 5000;

// "value N" after the two-word name; clamped to 0..5000 ms.
void set_move_overhead(const char* text) {
  const char* value = skip_word_and_blanks(text);  // "value"
  searchParams.MoveOverhead =
      static_cast<int>(std::clamp<long long>(read_number(value), 0, kMoveOverheadMax));
}

int clamp_int(long long v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

}  // namespace

long long read_number(const char* text) {
  long long v = std::strtoll(text, nullptr, 10);  // saturates at the long long range
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return v;
}

namespace {

int compare_length(const BoolParam& p) {
  return p.compareLength ? p.compareLength : static_cast<int>(std::strlen(p.name));
}

bool first_letter_matches(const char* name, const char* key) {
  return std::tolower(static_cast<unsigned char>(name[0])) ==
         std::tolower(static_cast<unsigned char>(key[0]));
}

// A hash size is taken only when it gives at least one bucket and its byte
// count fits the parameter; the old table stays otherwise.
bool set_hash_megabytes(long long megabytes) {
  long long bytes = scale_param(kMegabytes, megabytes);
  if (megabytes < 1 || bytes > INT_MAX) {
    Print("info string Hash %lld MB refused: the size must be 1 to 2047 MB", megabytes);
    return false;
  }
  paramHashBytes = static_cast<int>(bytes);
  allocate_hash();
  return true;
}

void set_int_option(IntParam& p, const char* value) {
  long long v = read_number(value);
  if (p.kind == kMegabytes) {
    if (set_hash_megabytes(v)) hash_clear();
    return;
  }
  if (p.kind == kThreadCount) {
    apply_thread_count(v);
    return;
  }
  // A GUI offers only the advertised range; a value from elsewhere is held to it.
  *p.target = clamp_int(scale_param(p.kind, std::clamp<long long>(v, p.minimum, p.maximum)));
}

bool is_true_value(const char* value) {
  return strcasecmp(value, "true") == 0 || read_number(value) != 0;
}

}  // namespace

const BoolParam* bool_params() { return kWinBoard ? kBoolParams : kBoolParams + kWinBoardBoolRows; }
const IntParam* int_params() { return kWinBoard ? kIntParams : kIntParams + kWinBoardIntRows; }

long long scale_param(int kind, long long v) {
  switch (kind) {
    case kPlain: return v;
    case kPlyHundredths: return (v * 64 + 50) / 100;
    case kPercent16384: return (v * 16384 + 50) / 100;
    case kMegabytes: return v * 1048576;
    case kThreadCount: return v;
    default:
      Print("Error in Engine paramter");
      std::exit(1);
  }
}

void allocate_hash() { hash_allocate_bytes(paramHashBytes); }

void apply_parameter_defaults() {
  bookFileName = "nork.book";
  bookOpen = false;
  uciAnalyseMode = false;
  limitStrength = false;
  strengthElo = kTopElo;
  for (BoolParam* p = kBoolParams; p->name; p++) *p->target = p->defaultValue;
  for (IntParam* p = kIntParams; p->name; p++) *p->target = clamp_int(scale_param(p->kind, p->defaultValue));
  allocate_hash();
  apply_thread_count(paramThreads);
}

void apply_thread_count(long long count) {
  int wanted = static_cast<int>(std::clamp<long long>(count, 1, kMaxSearchThreads));
  paramThreads = set_search_threads(wanted);
}

void print_uci_options() {
  for (const BoolParam* p = bool_params(); p->name; p++)
    Print("option name %s type check default %s", p->name, p->defaultValue ? "true" : "false");
  for (const IntParam* p = int_params(); p->name; p++)
    Print("option name %s type spin default %i min %i max %i", p->name, p->defaultValue, p->minimum,
          p->maximum);
  Print("option name Move Overhead type spin default %i min 0 max %i", kMoveOverheadDefault,
        kMoveOverheadMax);
  Print("option name UCI_AnalyseMode type check default false");
  Print("option name UCI_LimitStrength type check default false");
  Print("option name UCI_Elo type spin default %d min %d max %d", kTopElo, kBottomElo, kTopElo);
  Print("option name %s type string default %s", "BookFile", "nork.book");
  Print("option name Clear Hash type button");
}

void set_uci_option(const char* line) {
  if (globals.debug) Print("info string <%s", line);
  const char* rest = skip_word_and_blanks(line);  // "setoption"
  rest = skip_word_and_blanks(rest);              // "name"
  if (std::strlen(rest) < 5) return;
  // The key is the first word of the name and the blank after it.
  const char* keyEnd = rest;
  while (*keyEnd && *keyEnd != ' ') keyEnd++;
  std::string key(rest, keyEnd);
  if (*keyEnd) key += *keyEnd;
  const char* afterKey = *keyEnd ? keyEnd + 1 : keyEnd;
  // The value follows the next word ("value"), or "Hash" of "Clear Hash".
  const char* valueWord = afterKey;
  while (*valueWord == ' ') valueWord++;
  const char* value = skip_word_and_blanks(valueWord);
  if (strncasecmp(rest, "Move Overhead ", 14) == 0) {
    set_move_overhead(rest + 14);
    return;
  }
  if (strcasecmp(key.c_str(), "UCI_AnalyseMode ") == 0) {
    uciAnalyseMode = is_true_value(value);
    return;
  }
  if (strcasecmp(key.c_str(), "UCI_LimitStrength ") == 0) {
    limitStrength = is_true_value(value);
    return;
  }
  if (strcasecmp(key.c_str(), "UCI_Elo ") == 0) {
    strengthElo = static_cast<int>(std::clamp<long long>(read_number(value), kBottomElo, kTopElo));
    return;
  }
  if (strcasecmp(key.c_str(), "BookFile ") == 0) bookFileName = value;
  if (key == "Clear " && strncasecmp(rest, "Clear Hash", 10) == 0) hash_clear();
  for (const BoolParam* p = bool_params(); p->name; p++) {
    if (!first_letter_matches(p->name, key.c_str())) continue;
    if (strncasecmp(p->name, key.c_str(), compare_length(*p)) == 0) *p->target = is_true_value(value);
  }
  for (const IntParam* p = int_params(); p->name; p++) {
    if (!first_letter_matches(p->name, key.c_str())) continue;
    if (strncasecmp(p->name, key.c_str(), std::strlen(p->name)) != 0) continue;
    set_int_option(*const_cast<IntParam*>(p), value);
    break;
  }
}

}  // namespace torvek
