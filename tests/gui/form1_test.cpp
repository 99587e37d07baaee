// The window on the offscreen platform: start-up, the selectors and the Execute action. Every
// message box is answered by a hook, so no test waits on a modal dialog.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>
#include <map>
#include <memory>
#include <vector>

#include "env/drives.h"
#include "gui/form1_window.h"
#include "gui/preview_window.h"
#include "gui/qt_text.h"
#include "gui/selectors.h"
#include "support/test_support.h"

namespace ostra {

using test::TempDrive;
using test::WriteSjis;
using test::WriteSjisLines;
namespace fs = std::filesystem;

class Form1Test : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void WithoutReferenceFolderTheProgramEnds();
  void StartUpFillsTheSelectorsAndTexts();
  void ChoosingFoldersAndAFileFillsText1AndText2();
  void ADriveThatCannotBeReadPutsTheListBack();
  void ExecuteWithABadDestinationSelectsText2();
  void ExecuteConvertsTheBundledSampleUntilTheMouseMoves();
  void TheHourglassShowsWhileTheRunWorks();
  void AddedButtonsLieBelowTheOriginalArea();
  void PreviewShowsTheDataSetInText1();
  void ThePictureFollowsWhatIsTypedInText1();
  void ReportButtonShowsTheLastRunsReport();
  void TrialRunTouchesNothingAndShowsWhatARunWould();

 private:
  // Creates the window with the message hook in place and runs its start-up.
  bool Load();
  template <typename T>
  T* Find(const char* name) {
    T* w = form_->findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("no control %s", name);
    return w;
  }
  Text TextOf(const char* name) { return FromQString(Find<QLineEdit>(name)->text()); }
  Text Status() { return FromQString(Find<QLabel>("Label3")->text()); }
  void Activate(const char* folderList, const Text& subfolder);
  // The bundled sample in T:\GEO, its reference folder in T:\PATDAT, the window loaded with
  // MDT0001.GDF chosen and T:\OUT\P001\SITE\B-1 as the destination.
  void PrepareSample();
  void ClickFile(const Text& name);
  void DoubleClick(QListWidget* list, int row);
  void ChooseDrive(const char* driveList, const char16_t* letter) {
    auto* list = Find<DriveList>(driveList);
    list->setCurrentIndex(list->findText(ToQString(letter) + u':', Qt::MatchStartsWith));
  }
  void PutReferenceFolder() { WriteSjisLines(drive_->Host("PATDAT/kishitu.txt"), {"5012,花崗岩"}); }

  std::unique_ptr<TempDrive> drive_;
  std::unique_ptr<Form1Window> form_;
  std::vector<MessageBoxRequest> boxes_;
  bool answer_ = true;
  std::function<void()> onBox_;  // runs inside the next message box
};

void Form1Test::init() {
  drive_ = std::make_unique<TempDrive>(u'T');
  drive_->Files().Drives().Remove(u'Z');  // the test's own drives only
  boxes_.clear();
  answer_ = true;
  onBox_ = nullptr;
}

void Form1Test::cleanup() {
  form_.reset();
  drive_.reset();
}

bool Form1Test::Load() {
  form_ = std::make_unique<Form1Window>(drive_->Files());
  form_->SetMessageBoxHook([this](const MessageBoxRequest& box) {
    boxes_.push_back(box);
    if (onBox_) onBox_();
    return answer_;
  });
  if (!form_->Form_Load()) return false;
  form_->show();
  return QTest::qWaitForWindowExposed(form_.get());
}

void Form1Test::Activate(const char* folderList, const Text& subfolder) {
  auto* list = Find<FolderList>(folderList);
  int row = list->RowOfSubfolder(subfolder);
  QVERIFY(row >= 0);
  DoubleClick(list, row);
}

void Form1Test::DoubleClick(QListWidget* list, int row) {
  // A double-click is a press and release followed by a second press that the view reports as
  // a double-click.
  QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void Form1Test::ClickFile(const Text& name) {
  auto* list = Find<QListWidget>("File1");
  QList<QListWidgetItem*> hits = list->findItems(ToQString(name), Qt::MatchExactly);
  QCOMPARE(hits.size(), 1);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(hits[0]).center());
}

void Form1Test::WithoutReferenceFolderTheProgramEnds() {
  // An empty kishitu.txt does not make a reference folder.
  WriteSjis(drive_->Host("PATDAT/kishitu.txt"), "");
  QVERIFY(!Load());
  QCOMPARE(boxes_.size(), size_t{1});
  QVERIFY(boxes_[0].text == u" PATDAT の設定がありません.");
  QVERIFY(boxes_[0].icon == MsgIcon::kNone);
  QVERIFY(!boxes_[0].yesNo);
  QVERIFY(!form_->isVisible());
  QVERIFY(form_->State().patdatFolder.empty());
}

void Form1Test::StartUpFillsTheSelectorsAndTexts() {
  PutReferenceFolder();
  WriteSjis(drive_->Host("MDT0009.GDF"), "x");
  fs::create_directories(drive_->Host("GEO"));
  QVERIFY(Load());
  QVERIFY(boxes_.empty());
  QCOMPARE(form_->windowTitle(), QStringLiteral("岩盤柱状図 -> Ostra 変換プログラム"));
  QVERIFY(form_->State().patdatFolder == u"T:\\PATDAT\\");
  QVERIFY(!form_->State().completionShown);

  // Both drive handlers ran: the folder lists and texts show the current folder of drive T.
  QCOMPARE(Find<DriveList>("Drive1")->Letter(), u'T');
  QCOMPARE(Find<DriveList>("Drive2")->Letter(), u'T');
  QVERIFY(Find<FolderList>("Dir1")->Path() == u"T:\\");
  QVERIFY(Find<FolderList>("Dir2")->Path() == u"T:\\");
  QVERIFY(TextOf("Text1") == u"T:\\");
  QVERIFY(TextOf("Text2") == u"T:\\");
  QVERIFY(Find<FolderList>("Dir1")->RowOfSubfolder(u"GEO") >= 0);
  auto* files = Find<QListWidget>("File1");
  QCOMPARE(files->count(), 1);
  QCOMPARE(files->item(0)->text(), QStringLiteral("MDT0009.GDF"));
  QVERIFY(Status().empty());

  // Every control carries its name and caption.
  QCOMPARE(Find<QLabel>("Label1")->text(), QStringLiteral("変換元ファイル名："));
  QCOMPARE(Find<QLabel>("Label2")->text(), QStringLiteral("変換先フォルダ名："));
  QCOMPARE(Find<QGroupBox>("Frame1")->title(), QStringLiteral("変換元ファイル名選択"));
  QCOMPARE(Find<QGroupBox>("Frame2")->title(), QStringLiteral("変換先フォルダ名選択"));
  QCOMPARE(Find<QGroupBox>("Frame3")->title(), QStringLiteral("メッセージ"));
  QCOMPARE(Find<QPushButton>("Command1")->text(), QStringLiteral("実  行"));
  QCOMPARE(Find<QPushButton>("Command2")->text(), QStringLiteral("終  了"));
  Find<QFrame>("Picture1");

  // Twips become pixels: 15 twips to a pixel at 96 dots per inch.
  double scale = QGuiApplication::primaryScreen()->logicalDotsPerInchX() / 96.0;
  // The original client area is Picture1's; the window adds a strip of 49 pixels below it.
  QCOMPARE(form_->size(), QSize(qRound(606 * scale), qRound(433 * scale) + qRound(49 * scale)));
  QCOMPARE(Find<QFrame>("Picture1")->geometry(),
           QRect(0, 0, qRound(605 * scale), qRound(433 * scale)));
  QCOMPARE(Find<QLineEdit>("Text1")->geometry(),
           QRect(qRound(160 * scale), qRound(20 * scale), qRound(417 * scale), qRound(27 * scale)));

  // Exit closes the window.
  QTest::mouseClick(Find<QPushButton>("Command2"), Qt::LeftButton);
  QVERIFY(!form_->isVisible());
}

void Form1Test::ChoosingFoldersAndAFileFillsText1AndText2() {
  PutReferenceFolder();
  for (const char* name : {"MDT0001.GDF", "mdt0002.gdf", "BDT0001.GDF", "MDT0003.TXT"}) {
    WriteSjis(drive_->Host(std::string("GEO/") + name), "x");
  }
  fs::create_directories(drive_->Host("GEO/MDT0004.GDF"));  // a folder, not a file
  WriteSjis(drive_->Host("MDT0009.GDF"), "x");
  fs::create_directories(drive_->Host("OUT/P001"));
  QVERIFY(Load());

  Activate("Dir1", u"GEO");
  QVERIFY(Find<FolderList>("Dir1")->Path() == u"T:\\GEO");
  QVERIFY(TextOf("Text1") == u"T:\\GEO");
  auto* files = Find<QListWidget>("File1");
  QCOMPARE(files->count(), 2);
  QCOMPARE(files->item(0)->text(), QStringLiteral("MDT0001.GDF"));
  QCOMPARE(files->item(1)->text(), QStringLiteral("mdt0002.gdf"));
  ClickFile(u"mdt0002.gdf");
  QVERIFY(TextOf("Text1") == u"T:\\GEO\\mdt0002.gdf");

  // Back up to the root: the file name follows the root's "\" without another one.
  auto* dir1 = Find<FolderList>("Dir1");
  DoubleClick(dir1, 0);
  QVERIFY(TextOf("Text1") == u"T:\\");
  ClickFile(u"MDT0009.GDF");
  QVERIFY(TextOf("Text1") == u"T:\\MDT0009.GDF");

  Activate("Dir2", u"OUT");
  Activate("Dir2", u"P001");
  QVERIFY(TextOf("Text2") == u"T:\\OUT\\P001");
  QVERIFY(TextOf("Text1") == u"T:\\MDT0009.GDF");
  QVERIFY(boxes_.empty());
}

void Form1Test::ADriveThatCannotBeReadPutsTheListBack() {
  PutReferenceFolder();
  fs::create_directories(drive_->Host("GEO"));
  TempDrive other(u'V');
  drive_->Share(other);
  fs::create_directories(other.Host("WORK"));
  drive_->Files().Drives().Set(u'U', drive_->Host("NO-SUCH-MEDIUM"));
  QVERIFY(Load());
  Activate("Dir1", u"GEO");

  ChooseDrive("Drive1", u"U");
  QCOMPARE(Find<DriveList>("Drive1")->Letter(), u'T');
  QVERIFY(Find<FolderList>("Dir1")->Path() == u"T:\\GEO");
  QVERIFY(TextOf("Text1") == u"T:\\GEO");
  QVERIFY(boxes_.empty());

  // A good drive opens at its root; coming back to T opens T's current folder.
  ChooseDrive("Drive2", u"V");
  QVERIFY(TextOf("Text2") == u"V:\\");
  ChooseDrive("Drive2", u"T");
  QVERIFY(TextOf("Text2") == u"T:\\GEO");
}

void Form1Test::ExecuteWithABadDestinationSelectsText2() {
  PutReferenceFolder();
  QVERIFY(Load());
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  auto* text2 = Find<QLineEdit>("Text2");
  text2->setText(QStringLiteral("T:\\MY DATA"));
  Find<QPushButton>("Command1")->setFocus();

  QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton);
  QCOMPARE(boxes_.size(), size_t{1});
  QVERIFY(boxes_[0].text ==
          u"指定されたパスは正しくありません。階層「MY "
          u"DATA」に空白があります（パスに空白、「*」、「?」は使えません）。");
  QVERIFY(boxes_[0].icon == MsgIcon::kExclamation);
  QVERIFY(boxes_[0].title == u"T:\\MY DATA");
  QCOMPARE(text2->selectedText(), QStringLiteral("T:\\MY DATA"));
  QVERIFY(text2->hasFocus());
  QVERIFY(Status().empty());
  QVERIFY(!fs::exists(drive_->Host("MY DATA")));
}

void Form1Test::PrepareSample() {
  test::CopyExamplePatdat(drive_->Host("PATDAT"));
  for (const char* section : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
    std::string name = std::string(section) + "0001.GDF";
    fs::create_directories(drive_->Host("GEO"));
    fs::copy_file(test::ExamplesDir() / name, drive_->Host("GEO/" + name));
  }
  fs::create_directories(drive_->Host("OUT"));
  // The run marks new dictionary entries with PATADD.txt beside the program, so the program's
  // folder needs a drive.
  drive_->Files().Drives().Set(u'P', QCoreApplication::applicationDirPath().toStdString());
  QVERIFY(Load());
  ChooseDrive("Drive1", u"T");  // the list starts on the first drive, P
  Activate("Dir1", u"GEO");
  ClickFile(u"MDT0001.GDF");
  QVERIFY(TextOf("Text1") == u"T:\\GEO\\MDT0001.GDF");
  Find<QLineEdit>("Text2")->setText(QStringLiteral("T:\\OUT\\P001\\SITE\\B-1"));
}

void Form1Test::ExecuteConvertsTheBundledSampleUntilTheMouseMoves() {
  PrepareSample();
  if (QTest::currentTestFailed()) return;
  Text statusAtQuestion;
  onBox_ = [&] { statusAtQuestion = Status(); };
  QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton);

  // One question (the destination levels are missing), asked under the please-wait line.
  QCOMPARE(boxes_.size(), size_t{1});
  QVERIFY(boxes_[0].text == u"フォルダがありません。新規作成しますか？");
  QVERIFY(boxes_[0].icon == MsgIcon::kQuestion);
  QVERIFY(boxes_[0].yesNo);
  QVERIFY(statusAtQuestion == u"只今変換中！　しばらくお待ちください。");
  QVERIFY(Status() == u"変換が正常に終了しました。");
  QVERIFY(form_->State().completionShown);
  QCOMPARE(form_->cursor().shape(), Qt::ArrowCursor);
  for (const char* out : {"CNT.TXT", "Titl01.txt", "X1.TXT", "N8.TXT", "X12.TXT", "R41.TXT"}) {
    QVERIFY2(fs::exists(drive_->Host(std::string("OUT/P001/SITE/B-1/") + out)), out);
  }
  QCOMPARE(test::ReadSjisLines(drive_->Host("OUT/P001/SITE/B-1/CNT.TXT")).at(0),
           std::string("P001"));

  // The line stays until the mouse moves over the panel.
  QCoreApplication::processEvents();
  QVERIFY(Status() == u"変換が正常に終了しました。");
  auto* panel = Find<QFrame>("Picture1");
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), panel->mapToGlobal(QPointF(5, 5)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(panel, &move);
  QVERIFY(Status().empty());
  QVERIFY(!form_->State().completionShown);
}

void Form1Test::TheHourglassShowsWhileTheRunWorks() {
  PutReferenceFolder();
  WriteSjisLines(drive_->Host("PATDAT/L4.TXT"), {"1,C"});
  WriteSjisLines(drive_->Host("PATDAT/L10.TXT"), {"3,亀裂"});
  WriteSjis(drive_->Host("GEO/MDT0001.GDF"), "0,0\r\n");  // two header values of five
  fs::create_directories(drive_->Host("OUT"));
  QVERIFY(Load());
  Find<QLineEdit>("Text1")->setText(QStringLiteral("T:\\GEO\\MDT0001.GDF"));
  Find<QLineEdit>("Text2")->setText(QStringLiteral("T:\\OUT"));
  Qt::CursorShape during = Qt::ArrowCursor;
  onBox_ = [&] { during = form_->cursor().shape(); };
  QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton);

  QCOMPARE(boxes_.size(), size_t{1});  // the header check's message
  QCOMPARE(during, Qt::WaitCursor);
  QCOMPARE(form_->cursor().shape(), Qt::ArrowCursor);
  QVERIFY(Status().empty());
  QVERIFY(!form_->State().completionShown);
}

void Form1Test::AddedButtonsLieBelowTheOriginalArea() {
  PutReferenceFolder();
  QVERIFY(Load());
  auto* preview = Find<QPushButton>("PreviewButton");
  auto* report = Find<QPushButton>("ReportButton");
  QCOMPARE(preview->text(), QStringLiteral("柱状図表示"));
  QCOMPARE(report->text(), QStringLiteral("変換結果"));
  // On the form itself, below the panel that holds every original control.
  QCOMPARE(preview->parentWidget(), static_cast<QWidget*>(form_.get()));
  const QRect panel = Find<QFrame>("Picture1")->geometry();
  for (QPushButton* b : {preview, report, Find<QPushButton>("DryRunButton")}) {
    QVERIFY(!b->geometry().intersects(panel));
    QVERIFY(form_->rect().contains(b->geometry()));
  }
  // Under Execute and Exit.
  QCOMPARE(preview->x(), Find<QPushButton>("Command1")->x());
  QCOMPARE(report->x(), Find<QPushButton>("Command2")->x());
  // No report before a run.
  QVERIFY(!report->isEnabled());
  QVERIFY(preview->isEnabled());
}

void Form1Test::PreviewShowsTheDataSetInText1() {
  PrepareSample();
  if (QTest::currentTestFailed()) return;
  QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton);
  QVERIFY(Status() == u"変換が正常に終了しました。");
  // The destination text changes after the run: the picture is of the data set all the same.
  Find<QLineEdit>("Text2")->setText(QStringLiteral("T:\\ELSEWHERE"));
  const size_t boxesBefore = boxes_.size();

  QTest::mouseClick(Find<QPushButton>("PreviewButton"), Qt::LeftButton);
  auto* window = form_->findChild<BoringLogWindow*>(QStringLiteral("BoringLogWindow"));
  QVERIFY(window != nullptr);
  QVERIFY(window->isVisible());
  QVERIFY(window->Source() == u"T:\\GEO\\MDT0001.GDF");
  QVERIFY(window->windowTitle().contains(QStringLiteral("T:\\GEO\\MDT0001.GDF")));
  // The sample's ten layers and its five penetration tests; the run completed: no note; 1:100.
  const BoringLogModel& model = window->Model();
  QCOMPARE(model.layers.size(), size_t{10});
  QCOMPARE(model.penetrationTests.size(), size_t{5});
  bool found = false;
  for (const Layer& layer : model.layers) found |= layer.name == u"砂岩泥岩互層";
  QVERIFY(found);
  QVERIFY(model.stoppedRun.empty());
  QCOMPARE(window->View()->Scale(), 100.0);
  // Its PDF is offered in the data set's folder on the host, named after the hole.
  QCOMPARE(window->PdfStartPath(), QString::fromStdString(drive_->Host("GEO/B-1.pdf").string()));

  // A second click reuses the window; the form's controls are as they were.
  QTest::mouseClick(Find<QPushButton>("PreviewButton"), Qt::LeftButton);
  QCOMPARE(form_->findChildren<BoringLogWindow*>().size(), qsizetype{1});
  QCOMPARE(boxes_.size(), boxesBefore);
  QVERIFY(TextOf("Text2") == u"T:\\ELSEWHERE");
  QVERIFY(Status() == u"変換が正常に終了しました。");
}

void Form1Test::ThePictureFollowsWhatIsTypedInText1() {
  PutReferenceFolder();
  fs::create_directories(drive_->Host("GEO"));
  fs::copy_file(test::ExamplesDir() / "MDT0001.GDF", drive_->Host("GEO/MDT0001.GDF"));
  QVERIFY(Load());
  auto* text1 = Find<QLineEdit>("Text1");
  text1->setText(QStringLiteral("T:\\"));
  QTest::mouseClick(Find<QPushButton>("PreviewButton"), Qt::LeftButton);
  auto* window = form_->findChild<BoringLogWindow*>(QStringLiteral("BoringLogWindow"));
  QVERIFY(window != nullptr && window->isVisible());
  // A folder in Text1: a picture that says there is nothing to show; no message box.
  QVERIFY(window->Source() == u"T:\\");
  QVERIFY(window->Model().layers.empty());
  // Typed key by key: the picture follows once the text names a data set.
  text1->clear();
  QTest::keyClicks(text1, QStringLiteral("T:\\GEO\\MDT0001.GDF"));
  QVERIFY(window->Source() == u"T:\\GEO\\MDT0001.GDF");
  QCOMPARE(window->Model().layers.size(), size_t{10});
  QVERIFY(window->Model().holeName == u"B-1");
  // Typing on past it keeps the picture until another data set is named.
  QTest::keyClicks(text1, QStringLiteral("X"));
  QVERIFY(window->Source() == u"T:\\GEO\\MDT0001.GDF");
  QVERIFY(boxes_.empty());
}

void Form1Test::ReportButtonShowsTheLastRunsReport() {
  PrepareSample();
  if (QTest::currentTestFailed()) return;
  auto* button = Find<QPushButton>("ReportButton");
  QVERIFY(!button->isEnabled());
  QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton);
  QVERIFY(Status() == u"変換が正常に終了しました。");
  QVERIFY(button->isEnabled());

  QTest::mouseClick(button, Qt::LeftButton);
  auto* window = form_->findChild<RunReportWindow*>(QStringLiteral("RunReportWindow"));
  QVERIFY(window != nullptr && window->isVisible());
  QVERIFY(window->TextPane()->isReadOnly());
  const QString shown = window->TextPane()->toPlainText();
  QCOMPARE(shown, ToQString(ReportText(form_->State().lastReport)));
  QVERIFY(shown.contains(QStringLiteral("X1.TXT  10 行")));
  QVERIFY(shown.contains(QStringLiteral("断層角礫")));  // a soil name the run registered

  // A second run (nothing new to register) refreshes the open report.
  QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton);
  QVERIFY(!window->TextPane()->toPlainText().contains(QStringLiteral("断層角礫")));
  QCOMPARE(window->TextPane()->toPlainText(), ToQString(ReportText(form_->State().lastReport)));
  QVERIFY(Status() == u"変換が正常に終了しました。");
}

void Form1Test::TrialRunTouchesNothingAndShowsWhatARunWould() {
  PrepareSample();
  if (QTest::currentTestFailed()) return;
  auto snapshot = [&] {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(drive_->Root())) {
      files[e.path().string()] = e.is_regular_file() ? test::ReadBytes(e.path()) : "<folder>";
    }
    return files;
  };
  const auto before = snapshot();
  QTest::mouseClick(Find<QPushButton>("DryRunButton"), Qt::LeftButton);

  // The question a real run asks (the folders are made in memory only), and no file of the
  // user's changed.
  QCOMPARE(boxes_.size(), size_t{1});
  QVERIFY(boxes_[0].text == u"フォルダがありません。新規作成しますか？");
  QVERIFY(snapshot() == before);
  QVERIFY(Status() == u"試行変換が終了しました（変換先フォルダは実際の変換で作成されます）");
  QVERIFY(form_->State().lastReport.dryRun);

  // The report shows at once what a real run would write and register.
  auto* report = form_->findChild<RunReportWindow*>(QStringLiteral("RunReportWindow"));
  QVERIFY(report != nullptr && report->isVisible());
  const QString shown = report->TextPane()->toPlainText();
  QVERIFY(shown.contains(QStringLiteral("実際のファイルは変更していません")));
  QVERIFY(shown.contains(QStringLiteral("断層角礫")));
  QVERIFY(shown.contains(QStringLiteral("変換先: T:\\OUT\\P001\\SITE\\B-1")));

  // The picture is the trial's, drawn from the files it kept in memory.
  QTest::mouseClick(Find<QPushButton>("PreviewButton"), Qt::LeftButton);
  auto* window = form_->findChild<BoringLogWindow*>(QStringLiteral("BoringLogWindow"));
  QVERIFY(window != nullptr && window->isVisible());
  QCOMPARE(window->Model().layers.size(), size_t{10});
  QVERIFY(window->Model().layers[4].name == u"砂岩泥岩互層");
  QVERIFY(!fs::exists(drive_->Host("OUT/P001")));
}

}  // namespace ostra

QTEST_MAIN(ostra::Form1Test)
#include "form1_test.moc"
