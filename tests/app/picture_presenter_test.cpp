// The picture window follows the data set chosen in Text1, and after a run says whether the
// run (or the trial) stopped part-way; the names the picture is saved and printed under.
#include <gtest/gtest.h>

#include <functional>

#include "app/picture_file.h"
#include "formats/run_note.h"
#include "presenter_fixture.h"

namespace ostra {
namespace {

namespace fs = std::filesystem;

constexpr const char16_t* kSample = u"T:\\GEO\\MDT0001.GDF";
constexpr const char16_t* kXml = u"T:\\XML\\BED0300.XML";
constexpr const char16_t* kStopped = u"変換は途中で止まりました";

// One thing the user does, and the picture the window shows after it.
struct Event {
  const char* what;
  std::function<void(PresenterTest&, Form1&)> act;
  Text source;    // what the picture shows
  bool redrawn;   // drawn anew by this event
  Text hole;      // empty: no data set shown
  Text noteFile;  // the stop's file the note names; empty: no note
};

void Type(PresenterTest& t, Form1& f, const Text& text) {
  t.view_.text1 = text;
  f.Text1_Change();
}

TEST_F(PresenterTest, ThePictureFollowsTheSourceAndSaysWhenItsRunStopped) {
  PutSample();
  fs::create_directories(drive_.Host("XML"));
  fs::copy_file(test::ExamplesDir() / "bed" / "BED0300.XML", drive_.Host("XML/BED0300.XML"));
  const fs::path ndtFile = drive_.Host("GEO/NDT0001.GDF");
  const std::string ndt = test::ReadBytes(ndtFile);
  const fs::path realNote = drive_.Host("OUT/B-1/OSTRACONV_STOPPED.TXT");
  auto run = [](PresenterTest& t, Form1& f, const Text& destination, bool trial) {
    t.ChooseSample(destination);
    if (trial) {
      f.DryRunButton_Click();
    } else {
      f.Command1_Click();
    }
  };
  const std::vector<Event> events = {
      {"柱状図表示 with a folder in Text1", [](auto&, auto& f) { f.PreviewButton_Click(); },
       u"T:\\GEO", true, u"", u""},
      {"File1_Click", [](auto&, auto& f) { f.File1_Select(0); }, kSample, true, u"B-1", u""},
      {"Text1 typed, no data set yet", [](auto& t, auto& f) { Type(t, f, u"T:\\XML\\BED03"); },
       kSample, false, u"B-1", u""},
      {"Text1 typed, an XML file", [](auto& t, auto& f) { Type(t, f, kXml); }, kXml, true, u"B-2",
       u""},
      {"Text1 unchanged", [](auto& t, auto& f) { Type(t, f, kXml); }, kXml, false, u"B-2", u""},
      {"Dir1_Change (a folder in Text1)", [](auto&, auto& f) { f.Dir1_Open(0); }, kXml, false,
       u"B-2", u""},
      {"Execute, stopped in the NDT file",
       [&](auto& t, auto& f) {
         test::WriteBytes(ndtFile, ndt.substr(0, ndt.size() / 2));
         run(t, f, u"T:\\OUT\\B-1", false);
       },
       kSample, true, u"B-1", u"NDT0001.GDF"},
      {"another data set chosen", [](auto& t, auto& f) { Type(t, f, kXml); }, kXml, true, u"B-2",
       u""},
      {"the run's data set again", [](auto& t, auto& f) { Type(t, f, kSample); }, kSample, true,
       u"B-1", u"NDT0001.GDF"},
      {"a trial stopped in the NDT file",
       [&](auto& t, auto& f) { run(t, f, u"T:\\OUT\\TRIAL", true); }, kSample, true, u"B-1",
       u"NDT0001.GDF"},
      {"a trial over the stopped destination, completed",
       [&](auto& t, auto& f) {
         test::WriteBytes(ndtFile, ndt);
         run(t, f, u"T:\\OUT\\B-1", true);
       },
       kSample, true, u"B-1", u""},
      {"柱状図表示 after the trial", [](auto&, auto& f) { f.PreviewButton_Click(); }, kSample, true,
       u"B-1", u""},
      {"Execute, completed", [&](auto& t, auto& f) { run(t, f, u"T:\\OUT\\B-1", false); }, kSample,
       true, u"B-1", u""},
  };
  ASSERT_TRUE(Load());
  for (const Event& e : events) {
    SCOPED_TRACE(e.what);
    const int before = view_.pictures;
    e.act(*this, *form_);
    EXPECT_EQ(test::U8(view_.pictureSource), test::U8(e.source));
    EXPECT_EQ(view_.pictures, before + (e.redrawn ? 1 : 0));
    if (e.hole.empty()) {
      EXPECT_EQ(view_.picture, nullptr);
      continue;
    }
    ASSERT_NE(view_.picture, nullptr);
    EXPECT_EQ(test::U8(view_.picture->holeName), test::U8(e.hole));
    EXPECT_FALSE(view_.picture->layers.empty());
    const Text& note = view_.picture->stoppedRun;
    if (e.noteFile.empty()) {
      EXPECT_TRUE(note.empty()) << test::U8(note);
    } else {
      EXPECT_EQ(note.rfind(kStopped, 0), 0u) << test::U8(note);
      EXPECT_NE(note.find(e.noteFile), Text::npos) << test::U8(note);
    }
    // Only the real run writes and removes the note on the disk; a trial never does.
    EXPECT_FALSE(fs::exists(drive_.Host("OUT/TRIAL")));
    if (e.what == std::string("Execute, stopped in the NDT file")) {
      EXPECT_TRUE(fs::exists(realNote));
    }
  }
  EXPECT_FALSE(fs::exists(realNote));
  // A closed window is not drawn as Text1 changes.
  view_.pictureOpen = false;
  const int drawn = view_.pictures;
  Type(*this, *form_, kXml);
  EXPECT_EQ(view_.pictures, drawn);
}

TEST(PictureFileTest, ThePdfIsNamedAfterTheHoleAndStartsInTheDataSetsFolder) {
  struct Case {
    Text hole, source, file, folder;
  };
  const Case cases[] = {
      {u"B-1", u"T:\\GEO\\MDT0001.GDF", u"B-1.pdf", u"T:\\GEO"},
      {u" 孔 No.3/A:B ", u"C:\\調査 2024\\BED0001.XML", u"孔 No.3_A_B.pdf", u"C:\\調査 2024"},
      {u"", u"T:\\MDT0001.GDF", u"MDT0001.pdf", u"T:\\"},
      {u"..", u"D:BED0300.XML", u"BED0300.pdf", u"D:"},
      {u"", u"", u"柱状図.pdf", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(test::U8(PictureFileName(c.hole, c.source)), test::U8(c.file));
    EXPECT_EQ(test::U8(PictureFolder(c.source)), test::U8(c.folder));
  }
}

}  // namespace
}  // namespace ostra
