// CNT.TXT names the boring by the destination's levels: a destination that cannot give all three
// whole is converted all the same, with a warning that says what CNT.TXT got.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "env/files.h"
#include "sample_env.h"

namespace ostra {
namespace {

TEST(CntLevelsTest, ADestinationThatCannotNameTheBoringWholeIsToldWithWhatCntGot) {
  struct Case {
    const char16_t* destination;
    std::vector<Text> lines;  // the first three lines of CNT.TXT
    const char16_t* warning;  // a part of the one warning about it; none when empty
  };
  const Case cases[] = {
      {u"W:\\OUT\\P001\\SITE\\B-1", {u"P001", u"SITE", u"B-1"}, u""},
      {u"W:\\OUT\\ABCD\\SITE\\B-1", {u"ABCD", u"SITE", u"B-1"}, u""},
      {u"W:\\WORK\\X1", {u"X1", u"", u""}, u"W:\\WORK\\X1 にはドライブの下に 4 階層"},
      {u"W:\\OUT\\P001\\SITE", {u"P001", u"SITE", u""}, u"「P001」「SITE」「」 になりました"},
      {u"W:\\OUT\\津久井トンネル\\SITE\\B-1",
       {u"津久", u"SITE", u"B-1"},
       u"「津久井トンネル」は 4 バイトを超えるため、CNT.TXT の工事は先頭 4 バイトの「津久」"},
  };
  for (const Case& c : cases) {
    MemoryEnv env;
    PutSample(env);
    test::RecordingObserver observer;
    const RunReport report = observer.Run(SampleRequest(c.destination), env);
    ASSERT_TRUE(report.completed) << ToUtf8(c.destination);
    const std::vector<Text> cnt = ReadFileLines(env, Text(c.destination) + u"\\CNT.TXT");
    ASSERT_GE(cnt.size(), 3u);
    EXPECT_EQ(std::vector<Text>(cnt.begin(), cnt.begin() + 3), c.lines) << ToUtf8(c.destination);
    std::vector<Text> about;
    for (const Text& w : observer.warnings) {
      if (w.find(u"CNT.TXT") != Text::npos) about.push_back(w);
    }
    if (Text(c.warning).empty()) {
      EXPECT_TRUE(about.empty()) << ToUtf8(about.front());
    } else {
      ASSERT_EQ(about.size(), 1u) << ToUtf8(c.destination);
      EXPECT_NE(about[0].find(c.warning), Text::npos) << ToUtf8(about[0]);
    }
  }
}

}  // namespace
}  // namespace ostra
