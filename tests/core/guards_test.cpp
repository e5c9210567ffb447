// The fault guards: a guard keeps its frame on the record only while its
// body runs and reports it when an exception passes (the search's own abort
// excepted); the wrappers of the UCI program (this test program is one)
// build no frame at all.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/guards.h"

using namespace torvek;

namespace {

struct Aborted : GuardPassThrough {};

// A Search frame at ply 3 with the window (-5, 7) and no moves.
struct SearchFrame : GuardFrame {
  SearchFrame() : GuardFrame(GuardKind::kSearch) {
    values[0] = 3;
    values[1] = -5;
    values[2] = 7;
    moveCount = 0;
  }
};

}  // namespace

TEST(Guards, FrameIsOnTheRecordWhileTheBodyRuns) {
  SearchFrame frame;
  int before = guardRecord.depth;
  int inside = guarded(frame, [&] {
    EXPECT_EQ(guardRecord.frames[guardRecord.depth - 1], static_cast<GuardFrame*>(&frame));
    return guardRecord.depth;
  });
  EXPECT_EQ(inside, before + 1);
  EXPECT_EQ(guardRecord.depth, before);
}

TEST(Guards, AnExceptionIsReportedAndPassedOnButTheAbortIsNot) {
  SearchFrame frame;
  int before = guardRecord.depth;
  testing::internal::CaptureStdout();
  EXPECT_THROW(guarded(frame, []() -> int { throw std::runtime_error("fault"); }),
               std::runtime_error);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\nException at Search\nStatus=0, Ply=3, Alfa=-5, Beta=7\n");
  EXPECT_EQ(guardRecord.depth, before);

  testing::internal::CaptureStdout();
  EXPECT_THROW(guarded(frame, []() -> int { throw Aborted(); }), Aborted);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(guardRecord.depth, before);
}

TEST(Guards, TheUciProgramsWrappersBuildNoFrame) {
  ASSERT_FALSE(kWinBoard);
  int before = guardRecord.depth;
  bool filled = false;
  auto fill = [&](GuardFrame&) { filled = true; };
  int depthInside = guarded_in_winboard(GuardKind::kSearch, fill, [] { return guardRecord.depth; });
  EXPECT_EQ(depthInside, before);
  EXPECT_FALSE(filled);
  testing::internal::CaptureStdout();
  EXPECT_THROW(guarded_in_winboard(GuardKind::kQS, fill,
                                   []() -> int { throw std::runtime_error("fault"); }),
               std::runtime_error);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
