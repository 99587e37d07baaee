// Drive-form paths: the trailing "\" rule and the joins, parents and names built on it.
#include "base/drive_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/codec.h"

namespace ostra {
namespace {

TEST(DrivePathTest, NormalFormAndFolder) {
  struct Case {
    const char16_t* given;
    const char16_t* text;
    const char16_t* folder;
  };
  const Case cases[] = {
      {u"C:\\DATA\\P1", u"C:\\DATA\\P1", u"C:\\DATA\\P1\\"},
      {u"C:\\DATA\\P1\\", u"C:\\DATA\\P1", u"C:\\DATA\\P1\\"},
      {u"C:\\DATA\\P1\\\\", u"C:\\DATA\\P1", u"C:\\DATA\\P1\\"},
      {u"C:\\", u"C:\\", u"C:\\"},
      {u"C:\\\\", u"C:\\", u"C:\\"},
      {u"C:", u"C:\\", u"C:\\"},
      {u"C:\\A", u"C:\\A", u"C:\\A\\"},
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    const DrivePath path{Text(c.given)};
    SCOPED_TRACE(ToUtf8(c.given));
    EXPECT_EQ(path.AsText(), c.text);
    EXPECT_EQ(path.Folder(), c.folder);
    // Normalising again changes nothing, and a file name joins through exactly one "\".
    EXPECT_EQ(DrivePath(path.AsText()), path);
    EXPECT_EQ(DrivePath(path.Folder()), path);
    EXPECT_EQ(path.Join(u"CNT.TXT"), Text(c.folder) + u"CNT.TXT");
    EXPECT_EQ(path.Join(u"CNT.TXT").find(u"\\\\"), Text::npos);
  }
}

TEST(DrivePathTest, ParentFileNameAndComponentsWalkBackToTheRoot) {
  DrivePath path(u"D:\\GEO\\SITE\\MDT0001.GDF");
  std::vector<Text> names;
  while (!path.IsRoot()) {
    const DrivePath parent = path.Parent();
    // The parent joined with the name gives the path back.
    EXPECT_EQ(parent.Join(path.FileName()), path.AsText());
    EXPECT_EQ(parent.Child(path.FileName()), path);
    EXPECT_EQ(path.Components().Last(), path.FileName());
    names.push_back(path.FileName());
    path = parent;
  }
  EXPECT_EQ(names, (std::vector<Text>{u"MDT0001.GDF", u"SITE", u"GEO"}));
  EXPECT_EQ(path.AsText(), u"D:\\");
  EXPECT_EQ(path.Parent(), path);
  EXPECT_EQ(path.FileName(), u"");
  EXPECT_EQ(path.Components().Count(), 2);
  EXPECT_EQ(path.Components()[1], u"D:");
  EXPECT_EQ(DrivePath(u"NAME").Parent().AsText(), u"");
}

}  // namespace
}  // namespace ostra
