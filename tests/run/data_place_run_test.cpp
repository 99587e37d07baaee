// A run stopped by bad section data keeps in its report where the problem lies, apart from the
// message: line, column, record of how many, field and the value as read.
#include <gtest/gtest.h>

#include "env/memory_env.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

// Converts the sample with one section file replaced by `bytes` (code page 932 = ASCII here).
RunReport::Error StopWithSection(const char16_t* name, const std::string& bytes) {
  MemoryEnv env;
  PutSample(env);
  env.SetFile(Text(u"W:\\GEO\\") + name, bytes);
  test::RecordingObserver ui;
  const RunReport report = ui.Run(SampleRequest(), env);
  EXPECT_FALSE(report.completed);
  EXPECT_TRUE(report.error.has_value());
  RunReport::Error error = report.error.value_or(RunReport::Error{});
  EXPECT_EQ(ui.messages.size(), 1u);
  if (!ui.messages.empty()) {
    EXPECT_EQ(ui.messages[0].text, error.message);
  }
  EXPECT_EQ(error.file, Text(u"W:\\GEO\\") + name);
  EXPECT_EQ(error.kind, ErrorKind::kData);
  return error;
}

TEST(DataPlaceRunTest, AFileThatEndsInsideARecord) {
  // Line 2 holds record 1 and the first two fields of record 2; line 3 its third field.
  const RunReport::Error e =
      StopWithSection(u"CDT0001.GDF", "0,3,5,0,0,0\r\n100,5,150,3,4,200,7\r\n200\r\n");
  EXPECT_EQ(e.line, 3);
  EXPECT_EQ(e.column, 4);  // just after the last character of the data
  EXPECT_EQ(e.record, 2);
  EXPECT_EQ(e.recordCount, 3);
  EXPECT_EQ(e.reason, StopReason::kFailed);
  EXPECT_EQ(e.icon, MsgIcon::kCritical);
  EXPECT_EQ(e.field, 4);
  EXPECT_EQ(e.value, u"");
}

TEST(DataPlaceRunTest, ACountThatIsNoWholeNumber) {
  const RunReport::Error e = StopWithSection(u"KDT0001.GDF", "0\r\n  -2,2\r\n");
  EXPECT_EQ(e.line, 2);
  EXPECT_EQ(e.column, 3);
  EXPECT_EQ(e.record, 0);
  EXPECT_EQ(e.value, u"-2");
  EXPECT_NE(e.message.find(u"2 行目 3 文字目のレコード数「-2」が 0 から 32767 までの整数では"),
            Text::npos)
      << test::U8(e.message);
}

TEST(DataPlaceRunTest, TheHeaderCheckKeepsItsMessageAndNamesNoPlace) {
  const RunReport::Error e = StopWithSection(u"KDT0001.GDF", "0,0\r\n");
  EXPECT_EQ(e.reason, StopReason::kHeaderCheck);
  EXPECT_EQ(e.icon, MsgIcon::kNone);
  EXPECT_EQ(e.line, 0);
  EXPECT_EQ(e.record, 0);
  EXPECT_EQ(e.message.find(u"行目"), Text::npos);
}

}  // namespace
}  // namespace ostra
