// The "suite" console command on small files in a scratch directory: the
// lines it writes, the summary, the usage and missing-file messages, and
// the search parameters it must put back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/globals.h"
#include "search/params.h"
#include "search/tt.h"
#include "tools/bench_commands.h"

using namespace torvek;

namespace {

class SuiteTest : public testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/torvek_suite_XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir = templ;
    ASSERT_NE(getcwd(oldDir, sizeof oldDir), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    globals.quiet = true;
    if (!transpositionTable.allocated()) transpositionTable.allocate(16);
    globals.quiet = false;
    std::ofstream epd("three.epd");
    epd << "; a comment line\n"
        << "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - bm e4; id \"start\";\n"
        << "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -\n"
        << "short\n"
        << "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1\n";
  }
  void TearDown() override {
    for (const char* f : {"three.epd", "suite.txt"}) std::remove(f);
    EXPECT_EQ(chdir(oldDir), 0);
    rmdir(dir.c_str());
  }
  std::string run(const char* args) {
    testing::internal::CaptureStdout();
    cmd_suite(args);
    return testing::internal::GetCapturedStdout();
  }
  std::vector<std::string> suite_lines() {
    std::vector<std::string> lines;
    std::ifstream in("suite.txt");
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::string dir;
  char oldDir[4096];
};

}  // namespace

TEST_F(SuiteTest, MgtSearchesEveryPositionAndRestoresTheParameters) {
  int lmr = searchParams.LMRStartDepth, history = searchParams.HistoryValue;
  std::string out = run("mgt 2 three.epd");
  EXPECT_NE(out.find("Number of positions: 3"), std::string::npos) << out;
  EXPECT_NE(out.find("Tot nodes: "), std::string::npos);
  std::vector<std::string> lines = suite_lines();
  ASSERT_EQ(lines.size(), 4u);
  // The last line is the total of the three.
  long long total = 0;
  for (int i = 0; i < 3; i++) total += std::atoll(lines[i].c_str());
  EXPECT_EQ(std::atoll(lines[3].c_str()), total);
  EXPECT_GT(total, 0);
  EXPECT_EQ(searchParams.LMRStartDepth, lmr);
  EXPECT_EQ(searchParams.HistoryValue, history);
}

TEST_F(SuiteTest, EvalWritesOneScorePerPositionAndNoSummary) {
  std::string out = run("eval three.epd");
  EXPECT_EQ(out.find("Number of positions"), std::string::npos);
  std::vector<std::string> lines = suite_lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], std::to_string(std::atoi(lines[0].c_str())));
}

TEST_F(SuiteTest, BadArgumentsAndMissingFilesAreReported) {
  std::string out = run("fast three.epd");
  EXPECT_NE(out.find("comand should be either 'suite eval ...' or 'suite mgt ...' "),
            std::string::npos);
  out = run("eval nothere.epd");
  EXPECT_NE(out.find("can't find the file nothere.epd"), std::string::npos);
  EXPECT_TRUE(suite_lines().empty());  // the old result file was emptied
}
