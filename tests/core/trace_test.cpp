#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/file_ops.h"
#include "core/trace.h"
#include "tests/core/temp_prefix.h"

namespace {

std::string shownMessages;

void RecordMessage(const std::string& text) {
  shownMessages += text + "|";
}

// Each test looks only at the trace text it added itself.
class TraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core::Session_TabState = 0;
    start_ = core::Session_TraceText.size();
    shownMessages.clear();
    core::SetMessageBoxHook(RecordMessage);
  }
  void TearDown() override {
    core::SetMessageBoxHook(nullptr);
    core::Session_TabState = 0;
  }
  std::string Added() const { return core::Session_TraceText.substr(start_); }

 private:
  std::size_t start_ = 0;
};

TEST_F(TraceTest, NestedOperationsIndentTheirLinesAndReturnToTheStartingDepth) {
  core::TraceEnter("Outer");
  core::TraceLine("a");
  core::TraceEnter("Inner");
  core::TraceLine("");
  core::TraceLine("x\ry");
  core::TraceExit();
  core::TraceExit();
  core::TraceLine("after");
  EXPECT_EQ(Added(),
            "[ Entered -> Outer ..\r\n\ta\r\n\t[ Entered -> Inner ..\r\n\t\t\r\n\t\tx\ry\r\n"
            "\t\t[Exit]\r\n\t[Exit]\r\nafter\r\n");
  EXPECT_EQ(core::Session_TabState, 0);
  EXPECT_EQ(shownMessages, "");
}

TEST_F(TraceTest, ExitBelowDepthZeroShowsTheBoxOnceAndRecovers) {
  core::TraceExit();
  core::TraceLine("next");
  EXPECT_EQ(Added(), "[Exit]\r\nSession_TabState < 0\r\nnext\r\n");
  EXPECT_EQ(shownMessages, "Session_TabState < 0 !|");
  EXPECT_EQ(core::Session_TabState, 0);
}

TEST_F(TraceTest, EnteringAtTheDeepestLevelAppendsItsLineThenOverflows) {
  core::Session_TabState = 32767;
  EXPECT_THROW(core::TraceEnter("Deep"), std::overflow_error);
  EXPECT_EQ(core::Session_TabState, 32767);
  EXPECT_EQ(Added(), std::string(32767, '\t') + "[ Entered -> Deep ..\r\n");
}

TEST_F(TraceTest, StringToFileOfANewFileLeavesTheDocumentedLines) {
  const std::string name = "c:\\trace-new.txt";
  ASSERT_EQ(core::StringToFile("data", name), -1);
  EXPECT_EQ(Added(),
            "[ Entered -> StringToFile ..\r\n"
            "\tc:\\trace-new.txt\r\n"
            "\t[ Entered -> KillFileWithoutErrorIfNotExistTermOnFailureAbs ..\r\n"
            "\t\tAbsoluteFileName = c:\\trace-new.txt\r\n"
            "\t\t[ Entered -> DetectIfAFileExistsTrueFalseAbs ..\r\n"
            "\t\t\tAbsoluteFileName = c:\\trace-new.txt\r\n"
            "\t\t\tFile does not exist\r\n"
            "\t\t\t[Exit]\r\n"
            "\t\tFile was deleted if it existed\r\n"
            "\t\t[Exit]\r\n"
            "\tOpening file for output\r\n"
            "\tClosing output file\r\n"
            "\tSuccesfully wrote file\r\n"
            "\t[Exit]\r\n");
  EXPECT_EQ(test_support::ReadHostFile(test_support::DriveC() / "trace-new.txt"), "data");
}

}  // namespace
