// A batch keeps the reference tables from one conversion to the next only while the files hold
// exactly what was kept.
#include <gtest/gtest.h>

#include <memory>

#include "env/memory_env.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

TEST(TableCacheRunTest, ACorrectionOfTheSameSizeBetweenTwoConversionsIsKept) {
  MemoryEnv env;
  PutSample(env);
  ConversionRequest request = SampleRequest(u"W:\\OUT\\A");
  request.tables = std::make_shared<ReferenceFolder>(env, request.referenceFolder);
  const Text dictionary = u"W:\\PATDAT\\XKISHITU.TXT";
  test::RecordingObserver ui;
  ASSERT_TRUE(ui.Run(request, env).completed);
  // Another program corrects the name the conversion registered: same size, and in memory the
  // same time.
  std::string bytes = *env.File(dictionary);
  const std::string wrong = EncodeCp932(u"凝灰質砂岩");
  const std::string right = EncodeCp932(u"凝灰質泥岩");
  const size_t at = bytes.find(wrong);
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, wrong.size(), right);
  env.SetFile(dictionary, bytes);
  // The next data set holds a name met for the first time: registering it writes the
  // dictionary anew.
  std::string mdt = *env.File(u"W:\\GEO\\MDT0001.GDF");
  const std::string known = EncodeCp932(u"1.20,表土,");
  mdt.replace(mdt.find(known), known.size(), EncodeCp932(u"1.20,新岩,"));
  env.SetFile(u"W:\\GEO\\MDT0001.GDF", mdt);
  request.destination = u"W:\\OUT\\B";
  ASSERT_TRUE(ui.Run(request, env).completed);
  // The correction stands: the second conversion started from the file, not from its copy.
  const std::string after = *env.File(dictionary);
  EXPECT_NE(after.find(right), std::string::npos);
  EXPECT_EQ(after.find(wrong), std::string::npos);
  EXPECT_NE(after.find(EncodeCp932(u"新岩")), std::string::npos);
}

}  // namespace
}  // namespace ostra
