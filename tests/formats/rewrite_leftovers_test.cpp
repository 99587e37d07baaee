// What the run that takes the lock removes from the reference folder: the temporary files of
// rewrites that never ended, and nothing else.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "formats/table_append.h"
#include "support/test_support.h"

namespace ostra {
namespace {

TEST(RewriteLeftoversTest, OnlyOrdinaryFilesOfTheRewritesNamePatternGo) {
  test::TempDrive drive(u'R');
  const auto put = [&](const std::string& name) {
    std::ofstream(drive.Host("PATDAT/" + name)) << "x";
  };
  test::fs::create_directories(drive.Host("PATDAT"));
  test::fs::create_directories(drive.Host("ELSE"));
  put("XK000123.TMP");
  put("xk999999.tmp");
  std::ofstream(drive.Host("ELSE/XK000001.TMP")) << "kept";
  // Kept: other names, a folder and links of the pattern's name (and what they point to).
  for (const char* name :
       {"XK12345.TMP", "XK0001234.TMP", "XKA00123.TMP", "XK000123.TXT", "KISHITU.TXT"})
    put(name);
  test::fs::create_directory(drive.Host("PATDAT/XK000200.TMP"));
#ifndef _WIN32
  test::fs::create_symlink(drive.Host("ELSE/XK000001.TMP"), drive.Host("PATDAT/XK000300.TMP"));
#endif
  EXPECT_EQ(strata::RemoveRewriteLeftovers(drive.Files(), u"R:\\PATDAT\\"), 2);
  std::set<std::string> left;
  for (const auto& e : test::fs::directory_iterator(drive.Host("PATDAT")))
    left.insert(e.path().filename().string());
  std::set<std::string> expected = {"XK12345.TMP",  "XK0001234.TMP", "XKA00123.TMP",
                                    "XK000123.TXT", "KISHITU.TXT",   "XK000200.TMP"};
#ifndef _WIN32
  expected.insert("XK000300.TMP");
#endif
  EXPECT_EQ(left, expected);
  EXPECT_EQ(test::ReadBytes(drive.Host("ELSE/XK000001.TMP")), "kept");
}

}  // namespace
}  // namespace ostra
