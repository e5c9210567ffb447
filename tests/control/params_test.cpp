// Parameter tables: scaling by kind, the UCI "setoption" key rules, and the
// ini reader with its clamping.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "board/board.h"
#include "control/params.h"
#include "core/globals.h"
#include "core/ini_reader.h"
#include "search/params.h"
#include "search/threads.h"

using namespace torvek;

TEST(Params, ScalingByKind) {
  EXPECT_EQ(scale_param(kPlyHundredths, 150), 96);
  EXPECT_EQ(scale_param(kPercent16384, 60), 9830);
  EXPECT_EQ(scale_param(kMegabytes, 64), 67108864);
  EXPECT_EQ(scale_param(kPlain, -50), -50);
}

TEST(Params, DefaultsAreScaled) {
  apply_parameter_defaults();
  EXPECT_EQ(paramHashBytes, 64 * 1048576);
  EXPECT_EQ(searchParams.LMRreduction, 64);
  EXPECT_EQ(searchParams.NullReduction, 192);
  EXPECT_EQ(searchParams.HistoryValue, 9830);
  EXPECT_TRUE(topBoard.LazyEval);
  EXPECT_EQ(topBoard.LazyEvalLimit, 200);
  EXPECT_FALSE(searchParams.LazyNull);
  EXPECT_TRUE(searchParams.Ponder);
}

TEST(Params, SetOptionKeys) {
  apply_parameter_defaults();
  set_uci_option("setoption name LMRreduction value 150");
  EXPECT_EQ(searchParams.LMRreduction, 96);
  set_uci_option("setoption name Ponder value false");
  EXPECT_FALSE(searchParams.Ponder);
  set_uci_option("setoption name ponder value TRUE");
  EXPECT_TRUE(searchParams.Ponder);
  set_uci_option("setoption name Ponder value 0");
  EXPECT_FALSE(searchParams.Ponder);
  // "LazyEval " is keyed with its blank, so the limit is not mistaken for it.
  set_uci_option("setoption name LazyEvalLimit value 300");
  EXPECT_EQ(topBoard.LazyEvalLimit, 300);
  EXPECT_TRUE(topBoard.LazyEval);
  set_uci_option("setoption name LazyEval value false");
  EXPECT_FALSE(topBoard.LazyEval);
  EXPECT_EQ(topBoard.LazyEvalLimit, 300);
  set_uci_option("setoption name BookFile value my book.bin");
  EXPECT_EQ(bookFileName, "my book.bin");
}

TEST(Params, SetOptionBadInputLeavesState) {
  apply_parameter_defaults();
  set_uci_option("setoption");
  set_uci_option("setoption name");
  set_uci_option("setoption name Hash");
  set_uci_option("setoption name Hash value 0");
  EXPECT_EQ(paramHashBytes, 64 * 1048576);
  set_uci_option("setoption name Hash value -5");
  set_uci_option("setoption name Hash value 99999999999999999999");
  EXPECT_EQ(paramHashBytes, 64 * 1048576);
  set_uci_option("setoption name LMRreduction value 99999999999999999999");
  EXPECT_GT(searchParams.LMRreduction, 0);
  set_uci_option("setoption name NoSuchOption value 3");
  set_uci_option("setoption name Hash value 16");
  EXPECT_EQ(paramHashBytes, 16 * 1048576);
  apply_parameter_defaults();
}

TEST(Params, UciBuildHasNoWinBoardRows) {
  int bools = 0, ints = 0;
  for (const BoolParam* p = bool_params(); p->name; p++) bools++;
  for (const IntParam* p = int_params(); p->name; p++) ints++;
  EXPECT_EQ(bools, 6);
  EXPECT_EQ(ints, 11);
}

// Spin values are held to the range the option list advertises.
TEST(Params, SpinValuesAreClampedToTheirRow) {
  apply_parameter_defaults();
  const char* lines[][2] = {{"0", "1"}, {"-3", "1"}, {"100000", "256"}, {"abc", "1"}, {"7", "7"}};
  for (auto& line : lines) {
    set_uci_option((std::string("setoption name MultiPV value ") + line[0]).c_str());
    EXPECT_EQ(searchParams.MultiPV, std::atoi(line[1])) << line[0];
  }
  set_uci_option("setoption name LMRMoveNumber value 99");
  EXPECT_EQ(searchParams.LMRMoveNumber, 5);
  set_uci_option("setoption name UCI_AnalyseMode value true");
  EXPECT_TRUE(uciAnalyseMode);
  apply_parameter_defaults();
  EXPECT_EQ(searchParams.MultiPV, 1);
  EXPECT_FALSE(uciAnalyseMode);
}

TEST(Params, MoveOverheadHasItsTwoWordName) {
  apply_parameter_defaults();
  EXPECT_EQ(searchParams.MoveOverhead, 100);
  set_uci_option("setoption name Move Overhead value 300");
  EXPECT_EQ(searchParams.MoveOverhead, 300);
  set_uci_option("setoption name move overhead value 99999");
  EXPECT_EQ(searchParams.MoveOverhead, 5000);
  set_uci_option("setoption name Move Overhead value -20");
  EXPECT_EQ(searchParams.MoveOverhead, 0);
  set_uci_option("setoption name Move Overhead value");
  EXPECT_EQ(searchParams.MoveOverhead, 0);
  apply_parameter_defaults();
  EXPECT_EQ(searchParams.MoveOverhead, 100);
}

TEST(Params, ThreadsOptionIsClampedAndStartsTheHelpers) {
  apply_parameter_defaults();
  EXPECT_EQ(search_threads(), 1);
  set_uci_option("setoption name Threads value 3");
  EXPECT_EQ(paramThreads, 3);
  EXPECT_EQ(search_threads(), 3);
  set_uci_option("setoption name Threads value 0");
  EXPECT_EQ(search_threads(), 1);
  set_uci_option("setoption name threads value 99999");
  EXPECT_EQ(paramThreads, 256);
  apply_parameter_defaults();
  EXPECT_EQ(search_threads(), 1);
}

namespace {

// One file per test and process: ctest runs the tests of this program in
// parallel, and a shared name let one test read another's file.
std::string write_ini(const char* text) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = testing::TempDir() + "torvek_" + test->name() + "_" + std::to_string(getpid()) + ".ini";
  std::ofstream(name) << text;
  return name;
}

}  // namespace

TEST(IniReader, SectionsKeysCommentsAndDefaults) {
  std::string file = write_ini(
      "; a comment\n[Other]\nHash=5\n[TORVEK]\n  hash = 128 \n# x\nLazyEval =0\nBookFile= b.book\n"
      "Neg=-50\nJunk=abc\n");
  EXPECT_EQ(ini_get_int(file, "Torvek", "Hash", 64), 128);
  EXPECT_EQ(ini_get_int(file, "torvek", "LazyEval ", 1), 0);
  EXPECT_EQ(ini_get_int(file, "Torvek", "Neg", 0), -50);
  EXPECT_EQ(ini_get_int(file, "Torvek", "Junk", 7), 0);
  EXPECT_EQ(ini_get_int(file, "Torvek", "Missing", 7), 7);
  EXPECT_EQ(ini_get_int(file, "Other", "Hash", 0), 5);
  EXPECT_EQ(ini_get_string(file, "Torvek", "BookFile", "nork.book", 200), "b.book");
  EXPECT_EQ(ini_get_string(file, "Torvek", "Nothing", "nork.book", 200), "nork.book");
  EXPECT_EQ(ini_get_int("/nonexistent/torvek.ini", "Torvek", "Hash", 64), 64);
  std::remove(file.c_str());
}

TEST(IniReader, ReadIniClampsRows) {
  std::string file = write_ini("[Torvek]\nHash=2048\nLMRreduction=150\nResignScore=300\n");
  std::string saved = globals.iniFileName;
  globals.iniFileName = file;
  read_ini();
  EXPECT_EQ(paramHashBytes, 1024 * 1048576);
  EXPECT_EQ(searchParams.LMRreduction, 96);
  write_ini("[Torvek]\nHash=8\n");
  read_ini();
  EXPECT_EQ(paramHashBytes, 16 * 1048576);
  globals.iniFileName = saved;
  std::remove(file.c_str());
  apply_parameter_defaults();
}

// xboard sends "memory" and "cores" just before "new", which reads the ini
// file: the GUI's values must survive it.
TEST(IniReader, GuiMemoryAndCoresWinOverTheFile) {
  std::string file = write_ini("[Torvek]\nHash=128\nThreads=3\n");
  std::string saved = globals.iniFileName;
  globals.iniFileName = file;
  read_ini();
  EXPECT_EQ(paramHashBytes, 128 * 1048576);
  EXPECT_EQ(search_threads(), 3);
  set_gui_memory(5000);  // clamped to the Hash row's 1024
  set_gui_cores(2);
  read_ini();
  EXPECT_EQ(paramHashBytes, 1024 * 1048576);
  EXPECT_EQ(search_threads(), 2);
  set_gui_memory(16);
  set_gui_cores(0);  // clamped to 1
  EXPECT_EQ(paramHashBytes, 16 * 1048576);
  EXPECT_EQ(search_threads(), 1);
  // During a search both wait for its end.
  globals.searching = true;
  set_gui_cores(4);
  EXPECT_EQ(search_threads(), 1);
  globals.searching = false;
  apply_pending_gui_settings();
  EXPECT_EQ(search_threads(), 4);
  globals.iniFileName = saved;
  std::remove(file.c_str());
  forget_gui_settings();
  apply_parameter_defaults();
}
