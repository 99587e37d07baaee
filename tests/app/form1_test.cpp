// The window's behaviour without a toolkit: every handler of the window over a temporary drive
// with the bundled sample, the lock wait, the trial, and where the added windows go.
#include "app/form1.h"

#include <gtest/gtest.h>

#include <map>

#include "app/form1_parts.h"
#include "app/selectors.h"
#include "app/window_place.h"
#include "fake_view.h"
#include "presenter_fixture.h"
#include "run/run.h"
#include "support/test_support.h"

namespace ostra {
namespace {

using test::FakeView;
using test::TempDrive;
namespace fs = std::filesystem;

// Each handler from the state after start-up (both lists in T:\GEO), and what the window shows
// after it.
TEST_F(PresenterTest, EveryHandlerShowsWhatItsRuleSays) {
  struct Row {
    const char* handler;
    std::function<void(PresenterTest&, Form1&)> act;
    Text text1, text2, dir1, dir2;
    char16_t drive1, drive2;
    std::vector<Text> files;
    Text status;
    bool closed = false;
  };
  const Text geo = u"T:\\GEO";
  const std::vector<Text> sample = {u"MDT0001.GDF"};
  const std::vector<Row> rows = {
      {"Form_Load", [](auto&, auto&) {}, geo, geo, geo, geo, u'T', u'T', sample, u""},
      {"Drive1_Change",
       [](auto& t, auto&) { t.ChooseDrive(Selector::kDrive1, u'V'); },
       u"V:\\",
       geo,
       u"V:\\",
       geo,
       u'V',
       u'T',
       {u"MDT0009.GDF"},
       u""},
      // A drive without a medium: the list goes back, the folder list stays, no message.
      {"Drive1_Change (no medium)", [](auto& t, auto&) { t.ChooseDrive(Selector::kDrive1, u'U'); },
       geo, geo, geo, geo, u'T', u'T', sample, u""},
      {"Drive2_Change", [](auto& t, auto&) { t.ChooseDrive(Selector::kDrive2, u'V'); }, geo,
       u"V:\\", geo, u"V:\\", u'T', u'V', sample, u""},
      {"Drive2_Change (back to T's current folder)",
       [](auto& t, auto&) {
         t.ChooseDrive(Selector::kDrive2, u'V');
         t.ChooseDrive(Selector::kDrive2, u'T');
       },
       geo, geo, geo, geo, u'T', u'T', sample, u""},
      {"Dir1_Change",
       [](auto&, auto& f) { f.Dir1_Open(0); },
       u"T:\\",
       geo,
       u"T:\\",
       geo,
       u'T',
       u'T',
       {u"bed0002.xml", u"mdt0002.gdf"},
       u""},
      {"Dir2_Change",
       [](auto& t, auto& f) {
         f.Dir2_Open(0);
         f.Dir2_Open(t.view_.SubfolderRow(Selector::kDir2, u"OUT"));
       },
       geo, u"T:\\OUT", geo, u"T:\\OUT", u'T', u'T', sample, u""},
      {"File1_Click", [](auto&, auto& f) { f.File1_Select(0); }, u"T:\\GEO\\MDT0001.GDF", geo, geo,
       geo, u'T', u'T', sample, u""},
      // At a drive's root the name follows its "\" without another one (an XML file as any).
      {"File1_Click (root)",
       [](auto&, auto& f) {
         f.Dir1_Open(0);
         f.File1_Select(0);
       },
       u"T:\\bed0002.xml",
       geo,
       u"T:\\",
       geo,
       u'T',
       u'T',
       {u"bed0002.xml", u"mdt0002.gdf"},
       u""},
      {"File1_Click (nothing chosen)", [](auto&, auto& f) { f.File1_Select(-1); }, geo, geo, geo,
       geo, u'T', u'T', sample, u""},
      {"Picture1_MouseMove (completion shown)",
       [](auto& t, auto& f) {
         t.view_.SetStatus(kMsgCompleted);
         f.State().completionShown = true;
         f.Picture1_MouseMove();
       },
       geo, geo, geo, geo, u'T', u'T', sample, u""},
      {"Picture1_MouseMove (another line)",
       [](auto& t, auto& f) {
         t.view_.SetStatus(u"x");
         f.Picture1_MouseMove();
       },
       geo, geo, geo, geo, u'T', u'T', sample, u"x"},
      {"Command1_Click",
       [](auto& t, auto& f) {
         t.ChooseSample(u"T:\\OUT\\P001\\SITE\\B-1");
         f.Command1_Click();
       },
       u"T:\\GEO\\MDT0001.GDF", u"T:\\OUT\\P001\\SITE\\B-1", geo, geo, u'T', u'T', sample,
       kMsgCompleted},
      {"Command2_Click", [](auto&, auto& f) { f.Command2_Click(); }, geo, geo, geo, geo, u'T', u'T',
       sample, u"", true},
  };
  PutSample();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.handler);
    view_ = FakeView();
    ASSERT_TRUE(Load());
    row.act(*this, *form_);
    EXPECT_EQ(test::U8(view_.text1), test::U8(row.text1));
    EXPECT_EQ(test::U8(view_.text2), test::U8(row.text2));
    EXPECT_EQ(test::U8(view_.FolderShown(Selector::kDir1)), test::U8(row.dir1));
    EXPECT_EQ(test::U8(view_.FolderShown(Selector::kDir2)), test::U8(row.dir2));
    EXPECT_EQ(form_->Dir1Path(), row.dir1);
    EXPECT_EQ(view_.DriveShown(Selector::kDrive1), row.drive1);
    EXPECT_EQ(view_.DriveShown(Selector::kDrive2), row.drive2);
    EXPECT_EQ(view_.files, row.files);
    EXPECT_EQ(test::U8(view_.status), test::U8(row.status));
    EXPECT_EQ(form_->State().completionShown, row.status == kMsgCompleted);
    EXPECT_EQ(view_.closed, row.closed);
    EXPECT_TRUE(view_.boxes.empty());
    EXPECT_FALSE(view_.busy);
  }
}

TEST_F(PresenterTest, WithoutTheReferenceFolderTheWindowSaysSoAndCloses) {
  test::WriteSjis(drive_.Host("PATDAT/kishitu.txt"), "");  // empty: no reference folder
  EXPECT_FALSE(Load());
  ASSERT_EQ(view_.boxes.size(), 1u);
  EXPECT_EQ(view_.boxes[0].text, kMsgNoPatdat);
  EXPECT_EQ(view_.boxes[0].icon, MsgIcon::kNone);
  EXPECT_FALSE(view_.boxes[0].yesNo);
  EXPECT_TRUE(view_.closed);
  EXPECT_TRUE(form_->State().patdatFolder.empty());
}

TEST_F(PresenterTest, TheCompletionLineStaysUntilTheMouseMovesAndNewFoldersShow) {
  PutSample();
  ASSERT_TRUE(Load());
  form_->Dir2_Open(0);
  form_->Dir2_Open(view_.SubfolderRow(Selector::kDir2, u"OUT"));
  ChooseSample(u"T:\\OUT\\P002\\SITE\\B-1");
  form_->Command1_Click();
  ASSERT_EQ(view_.boxes.size(), 1u);  // the folder question
  EXPECT_EQ(view_.boxes[0].text, kMsgCreateFolder);
  EXPECT_TRUE(view_.boxes[0].yesNo);
  EXPECT_EQ(view_.busyTimes, 1);
  EXPECT_FALSE(view_.busy);
  EXPECT_TRUE(view_.reportEnabled);
  // The destination list shows the folder the run created, still open at T:\OUT.
  EXPECT_GE(view_.SubfolderRow(Selector::kDir2, u"P002"), 0);
  EXPECT_EQ(test::U8(view_.FolderShown(Selector::kDir2)), "T:\\OUT");
  // Other handlers leave the line; only the mouse over the panel clears it.
  ChooseDrive(Selector::kDrive1, u'V');
  form_->File1_Select(0);
  EXPECT_EQ(view_.status, kMsgCompleted);
  form_->Picture1_MouseMove();
  EXPECT_TRUE(view_.status.empty());
  EXPECT_FALSE(form_->State().completionShown);
  // A refused path: its message titled with the path, Text2 selected.
  view_.SetText2(u"T:\\MY DATA");
  form_->Command1_Click();
  ASSERT_EQ(view_.boxes.size(), 2u);
  EXPECT_EQ(view_.boxes[1].text,
            Text(kMsgBadPath) +
                u"階層「MY DATA」に空白があります（パスに空白、「*」、「?」は使えません）。");
  EXPECT_EQ(view_.boxes[1].title, u"T:\\MY DATA");
  EXPECT_EQ(view_.destinationSelected, 1);
  EXPECT_TRUE(view_.status.empty());
}

TEST_F(PresenterTest, DuringALockWaitOnlyExitWorksAndTheWindowClosesAfter) {
  PutSample();
  ASSERT_TRUE(Load());
  form_->State().lockWait = std::chrono::seconds(60);
  std::unique_ptr<HeldLock> other = drive_.Files().TryLock(u"T:\\PATDAT\\OSTRACONV.LCK");
  ASSERT_NE(other, nullptr);
  ChooseSample(u"T:\\OUT\\NEW\\B-1");
  const auto before = Snapshot();
  bool tried = false;
  size_t boxesDuring = 0;
  view_.onEvents = [&] {
    if (tried || view_.status.find(u"使用中") == Text::npos) return;
    tried = true;
    form_->Command1_Click();  // ignored: a run is on
    form_->DryRunButton_Click();
    ChooseDrive(Selector::kDrive1, u'V');
    form_->File1_Select(0);
    form_->PreviewButton_Click();
    EXPECT_FALSE(form_->QueryClose());  // the close box waits for the run, as Exit does
    boxesDuring = view_.boxes.size();
    form_->Command2_Click();
  };
  form_->Command1_Click();
  EXPECT_TRUE(tried);
  EXPECT_EQ(boxesDuring, 1u);  // the folder question, before the wait
  EXPECT_EQ(view_.boxes.size(), 1u);
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(test::U8(view_.text1), "T:\\GEO\\MDT0001.GDF");
  EXPECT_EQ(form_->Drive1Letter(), u'T');
  EXPECT_FALSE(view_.pictureOpen);
  EXPECT_TRUE(view_.status.empty());
  EXPECT_FALSE(view_.busy);
  EXPECT_FALSE(form_->State().completionShown);
  EXPECT_FALSE(form_->Running());
  EXPECT_TRUE(form_->QueryClose());
}

TEST_F(PresenterTest, ATrialChangesNothingAndSaysWhenTheRealRunWouldCreateTheFolder) {
  PutSample();
  ASSERT_TRUE(Load());
  const auto before = Snapshot();
  struct Case {
    Text destination;
    std::deque<bool> answers;
    size_t questions;
    Text status;
    bool reportSaysCreated;
  };
  const std::vector<Case> cases = {
      {u"T:\\OUT\\P001\\SITE\\B-1", {}, 0, kMsgTrialCompleted, false},
      {u"T:\\OUT\\P001\\NEW\\B-1", {true}, 1, kMsgTrialCreatesFolder, true},
      // No: the trial stops as a real run does, without another word.
      {u"T:\\OUT\\P001\\NEW\\B-1", {false}, 1, u"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::U8(c.destination) + (c.answers.empty() || c.answers[0] ? "" : " (No)"));
    view_.boxes.clear();
    view_.reportOpen = false;
    view_.report.clear();
    view_.answers = c.answers;
    ChooseSample(c.destination);
    form_->DryRunButton_Click();
    ASSERT_EQ(view_.boxes.size(), c.questions);
    if (c.questions > 0) {
      EXPECT_EQ(view_.boxes[0].text, kMsgCreateFolder);
    }
    EXPECT_EQ(test::U8(view_.status), test::U8(c.status));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(form_->State().lastReport.dryRun);
    // A completed trial shows its report at once.
    EXPECT_EQ(view_.reportOpen, !c.status.empty());
    if (c.status.empty()) continue;
    EXPECT_NE(view_.report.find(u"実際のファイルは変更していません"), Text::npos);
    const Text line =
        u"変換先: " + form_->State().lastReport.destination + u"\n" + kReportCreatesFolder + u"\n";
    EXPECT_EQ(view_.report.find(line) != Text::npos, c.reportSaysCreated);
    EXPECT_EQ(view_.report.find(kReportCreatesFolder) != Text::npos, c.reportSaysCreated);
    // The picture is of the data set in Text1; the trial completed: no note.
    form_->PreviewButton_Click();
    ASSERT_NE(view_.picture, nullptr);
    EXPECT_EQ(view_.picture->layers.size(), 10u);
    EXPECT_EQ(view_.pictureSource, u"T:\\GEO\\MDT0001.GDF");
    EXPECT_TRUE(view_.picture->stoppedRun.empty());
    view_.pictureOpen = false;
  }
  // A choice of encoding makes the trial shown again with it (the last one was declined).
  form_->EncodingChosen(DataEncoding::kCp932);
  EXPECT_EQ(view_.status, kMsgTrialCreatesFolder);
  EXPECT_EQ(view_.reportEncoding, DataEncoding::kCp932);
  EXPECT_NE(view_.report.find(u"（指定）"), Text::npos);
  EXPECT_EQ(Snapshot(), before);
  // A real run after a trial says what it always said.
  ChooseSample(u"T:\\OUT");
  form_->Command1_Click();
  EXPECT_EQ(view_.status, kMsgCompleted);
  EXPECT_EQ(view_.report.find(kReportCreatesFolder), Text::npos);
}

// Where an added window goes, over many sizes of screen, main window and added window.
TEST(PlaceBesideTest, InsideTheScreenAndBesideTheMainWindowWheneverThereIsRoom) {
  int beside = 0, cases = 0;
  for (int areaW : {640, 1024, 1920, 3840}) {
    for (int areaH : {480, 768, 1080}) {
      const ScreenRect area{-200, 30, areaW, areaH};
      for (int mainLeft : {0, 100, 500, 1500}) {
        for (int w : {200, 450, 760, 2000}) {
          for (int h : {150, 500, 1200}) {
            for (int index : {0, 1}) {
              const ScreenRect main{area.left + std::min(mainLeft, areaW - 610),
                                    area.top + std::max(0, (areaH - 490) / 2), 610, 490};
              const ScreenRect r = PlaceBeside(main, w, h, area, index);
              ++cases;
              SCOPED_TRACE(::testing::Message() << areaW << "x" << areaH << " main at " << main.left
                                                << " window " << w << "x" << h);
              EXPECT_EQ(r.width, std::min(w, areaW));
              EXPECT_EQ(r.height, std::min(h, areaH));
              EXPECT_GE(r.left, area.left);
              EXPECT_GE(r.top, area.top);
              EXPECT_LE(r.left + r.width, area.left + area.width);
              EXPECT_LE(r.top + r.height, area.top + area.height);
              const bool room = area.left + area.width - (main.left + main.width) >= w ||
                                main.left - area.left >= w;
              const bool covers = r.left < main.left + main.width && main.left < r.left + r.width &&
                                  r.top < main.top + main.height && main.top < r.top + r.height;
              if (room) {
                EXPECT_FALSE(covers);
                ++beside;
              }
              // A second window does not lie exactly over the first where it can move.
              if (index == 1 && (r.height < areaH || r.width < areaW)) {
                const ScreenRect first = PlaceBeside(main, w, h, area, 0);
                EXPECT_TRUE(first.left != r.left || first.top != r.top);
              }
            }
          }
        }
      }
    }
  }
  EXPECT_GT(beside, cases / 4);
  EXPECT_LT(beside, cases);
}

TEST(DriveLineTest, NamesTheHostFolderUnlessItIsTheDriveItself) {
  DriveMap drives;
  drives.Set(u'T', "/tmp/geo");
  drives.Set(u'C', "C:\\");
  drives.Set(u'D', "c:\\");
  drives.Set(u'E', "E:\\DATA");
  EXPECT_EQ(DriveLine(drives, u'T'), u"T: [/tmp/geo]");
  EXPECT_EQ(DriveLine(drives, u'C'), u"C:");
  EXPECT_EQ(DriveLine(drives, u'D'), u"D: [c:\\]");
  EXPECT_EQ(DriveLine(drives, u'E'), u"E: [E:\\DATA]");
}

}  // namespace
}  // namespace ostra
