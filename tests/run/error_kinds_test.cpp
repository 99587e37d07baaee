// A whole conversion of the sample in memory with one file operation failing: the report says
// what the failed file is to the run, names it and gives the message the user saw.
#include <gtest/gtest.h>

#include <functional>

#include "env/fault_env.h"
#include "env/memory_env.h"
#include "recording_observer.h"
#include "run/error_text.h"
#include "run/run.h"
#include "sample_env.h"
#include "support/test_support.h"

namespace ostra {
namespace {

struct FailedRun {
  bool failed = false;
  Text path;
  RunReport report;
  std::vector<StopMessage> messages;
};

FailedRun ConvertFailing(FaultKind kinds, long n) {
  MemoryEnv env;
  PutSample(env);
  FaultEnv faulty(env, n, kinds);
  test::RecordingObserver observer;
  RunReport report = observer.Run(SampleRequest(), faulty);
  return {faulty.Failed(), faulty.FailedPath(), std::move(report), observer.messages};
}

Text FaultMessage(const Text& path) {
  return u"ファイル \"" + path +
         u"\" を扱えません（試験のための故障）。ファイルにアクセスできません。";
}

struct Case {
  const char* what;
  FaultKind kinds;
  std::function<bool(const Text&)> fails;  // the operation's file is the one to fail
  bool last;                               // the last such operation rather than the first
  ErrorKind kind;
  std::function<Text(const Text&)> message;
};

TEST(ErrorKindsTest, EachKindOfFileNamesItsRoleFileAndMessage) {
  const Text out = Text(kSampleDestination) + u"\\";
  auto is = [](const Text& file) { return [file](const Text& p) { return p == file; }; };
  const std::vector<Case> cases = {
      // The encoding check and the header check read it first; the converter's own read last.
      {"data file read", FaultKind::kRead, is(u"W:\\GEO\\BDT0001.GDF"), true, ErrorKind::kData,
       FaultMessage},
      {"reference table read", FaultKind::kRead, is(u"W:\\PATDAT\\L4.TXT"), false,
       ErrorKind::kReferenceFolder, FaultMessage},
      {"table append", FaultKind::kWrite,
       [](const Text& p) { return p.rfind(u"W:\\PATDAT\\", 0) == 0; }, false,
       ErrorKind::kReferenceFolder, FaultMessage},
      {"table replace", FaultKind::kChange, is(u"W:\\PATDAT\\XKISHITU.TXT"), false,
       ErrorKind::kReferenceFolder, FaultMessage},
      {"output create", FaultKind::kOpen, is(out + u"CNT.TXT"), false, ErrorKind::kDestination,
       FaultMessage},
      {"output write", FaultKind::kWrite, is(out + u"X1.TXT"), false, ErrorKind::kDestination,
       FaultMessage},
      {"destination folder", FaultKind::kChange, is(u"W:\\OUT\\P001"), false,
       ErrorKind::kDestination, FaultMessage},
      {"lock", FaultKind::kLock, is(u"W:\\PATDAT\\OSTRACONV.LCK"), false, ErrorKind::kLock,
       [](const Text& path) {
         return FaultMessage(path) + u"参照フォルダをロックできないため、変換を中止しました。";
       }},
  };
  for (const Case& c : cases) {
    long chosen = 0;
    for (long n = 1;; ++n) {
      const FailedRun run = ConvertFailing(c.kinds, n);
      if (!run.failed) break;  // past the run's last operation of these kinds
      if (!c.fails(run.path)) continue;
      chosen = n;
      if (!c.last) break;
    }
    ASSERT_GT(chosen, 0) << c.what << ": no such operation";
    const FailedRun run = ConvertFailing(c.kinds, chosen);
    ASSERT_TRUE(run.report.error.has_value()) << c.what;
    const RunReport::Error& error = *run.report.error;
    EXPECT_FALSE(run.report.completed) << c.what;
    EXPECT_EQ(error.kind, c.kind) << c.what << " " << ErrorKindKey(error.kind);
    EXPECT_EQ(error.file, run.path) << c.what;
    EXPECT_EQ(test::U8(error.message), test::U8(c.message(run.path))) << c.what;
    ASSERT_EQ(run.messages.size(), 1u) << c.what;
    EXPECT_EQ(run.messages[0].text, error.message) << c.what;
  }
}

// The words of each file operation and detail, as the user has always read them.
TEST(ErrorKindsTest, FileErrorsAreWordedAsBefore) {
  const Text p = u"W:\\A.TXT";
  auto words = [&](FileOp op, int code, FileDetail detail = FileDetail::kNone) {
    return ErrorMessage(FileError(ErrorKind::kSystem, op, code, p, detail));
  };
  EXPECT_EQ(words(FileOp::kOpen, FileError::kFileNotFound),
            u"ファイル \"W:\\A.TXT\" を開けません。ファイルが見つかりません。");
  EXPECT_EQ(words(FileOp::kCreate, FileError::kPathNotFound, FileDetail::kFolderTaken),
            u"ファイル \"W:\\A.TXT\" を作成できません（同じ名前のフォルダがあります）。パスが見つか"
            u"りません。");
  EXPECT_EQ(words(FileOp::kWrite, FileError::kDiskFull),
            u"ファイル \"W:\\A.TXT\" を書き込めません。ディスクの空き容量が足りません。");
  EXPECT_EQ(words(FileOp::kList, FileError::kPermissionDenied),
            u"ファイル \"W:\\A.TXT\" を読み込めません（フォルダの一覧）。書き込みが許可されていま"
            u"せん。");
  // A host path an Env mapped stays beside the caller's name, which the message uses.
  const FileError mapped =
      FileError(ErrorKind::kSystem, FileOp::kRead, FileError::kAccessError, u"/host/a.txt")
          .ForPath(p);
  EXPECT_EQ(mapped.Path(), p);
  EXPECT_EQ(mapped.HostPath(), u"/host/a.txt");
  EXPECT_EQ(ErrorMessage(mapped),
            u"ファイル \"W:\\A.TXT\" を読み込めません。ファイルにアクセスできません。");
}

}  // namespace
}  // namespace ostra
