// A KDT count is a whole number written out, as every section's counts are.
#include <gtest/gtest.h>

#include <string>

#include "env/memory_env.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

constexpr const char16_t* kKdt = u"W:\\GEO\\KDT0001.GDF";
constexpr const char16_t* kDestination = u"W:\\OUT\\B-1";

bool ConvertWithKdt(const std::string& kdt, test::RecordingObserver& ui, MemoryEnv& env) {
  PutSample(env);
  env.SetFile(kKdt, kdt);
  return ui.Run(SampleRequest(kDestination), env).completed;
}

TEST(KdtCountTest, EveryCountMustBeAWholeNumber) {
  const std::string record = "1.00,abc\r\n";
  for (const bool recordCount : {true, false}) {
    for (const std::string bad : {"", " ", "1e-400", "0.5", "1.0000000000000000001", "-1"}) {
      SCOPED_TRACE((recordCount ? "records " : "fields ") + bad);
      const std::string header = recordCount ? "0," + bad + ",2\r\n" : "0,1," + bad + "\r\n";
      MemoryEnv env;
      test::RecordingObserver ui;
      ASSERT_FALSE(ConvertWithKdt(header + record, ui, env));
      ASSERT_FALSE(ui.messages.empty());
      const Text& message = ui.messages.back().text;
      EXPECT_NE(message.find(Text(u"ファイル \"") + kKdt + u"\" の 1 行目"), Text::npos)
          << test::U8(message);
      EXPECT_NE(message.find(u"が 0 から 32767 までの整数ではありません。変換できません。"),
                Text::npos)
          << test::U8(message);
    }
  }
  // Whole numbers in any spelling still count.
  for (const std::string good : {"1", "1.0", "1e0", "\x82\x50", "0.1e1"}) {
    SCOPED_TRACE(good);
    MemoryEnv env;
    test::RecordingObserver ui;
    ASSERT_TRUE(ConvertWithKdt("0," + good + ",2\r\n" + record, ui, env));
    EXPECT_TRUE(env.FileExists(Text(kDestination) + u"\\X12.TXT"));
  }
}

}  // namespace
}  // namespace ostra
