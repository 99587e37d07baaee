#include "run/patdat.h"

#include <gtest/gtest.h>

#include "env/drives.h"
#include "support/test_support.h"

namespace ostra {
namespace {

namespace fs = std::filesystem;

// Only the test's own drives are searched: the Env of the first maps the others, not the
// system's.
class PatdatTest : public ::testing::Test {
 protected:
  static Env& OnlyDrives(test::TempDrive& first, std::vector<test::TempDrive*> others = {}) {
    first.Files().Drives().Remove(u'Z');
    for (test::TempDrive* d : others) first.Share(*d);
    return first.Files();
  }
};

TEST_F(PatdatTest, TheFolderItselfComesBeforeItsSubfolders) {
  test::TempDrive d(u'D');
  test::WriteSjis(d.Host("PATDAT/OLD/kishitu.txt"), "1");
  test::WriteSjis(d.Host("PATDAT/kishitu.txt"), "1");
  Env& env = OnlyDrives(d);
  const std::vector<Text> list = SearchPatdatTree(env, u"D:\\PATDAT", u"kishitu.txt");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], u"D:\\PATDAT\\");
  EXPECT_EQ(list[1], u"D:\\PATDAT\\OLD\\");
  EXPECT_EQ(FindPatdat(env), u"D:\\PATDAT\\");
}

TEST_F(PatdatTest, ASubfolderAndEmptyDictionaries) {
  test::TempDrive d(u'D');
  test::WriteSjis(d.Host("PATDAT/kishitu.txt"), "");  // empty: does not count
  test::WriteSjis(d.Host("PATDAT/SET1/KISHITU.TXT"), "5000,x");
  int visited = 0;
  EXPECT_EQ(FindPatdat(OnlyDrives(d), [&] { ++visited; }), u"D:\\PATDAT\\SET1\\");
  EXPECT_GE(visited, 2);  // the walk lets the window breathe
}

TEST_F(PatdatTest, DrivesAreSearchedInOrderAndNothingFoundIsEmpty) {
  test::TempDrive e(u'E');
  test::TempDrive c(u'C');
  Env& env = OnlyDrives(e, {&c});
  EXPECT_EQ(FindPatdat(env), u"");
  test::WriteSjis(e.Host("PATDAT/kishitu.txt"), "1");
  test::WriteSjis(c.Host("PATDAT/B/kishitu.txt"), "1");
  EXPECT_EQ(FindPatdat(env), u"C:\\PATDAT\\B\\");
}

}  // namespace
}  // namespace ostra
