// The window as a daily user meets it: Japanese message boxes, the keyboard in the file list,
// a run that waits for another one, the trial's message line and the smaller points of care.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <map>

#include "app/window_place.h"
#include "env/drives.h"
#include "gui/preview_window.h"
#include "gui/selectors.h"
#include "gui_fixture.h"

namespace ostra {

using test::WriteSjis;
namespace fs = std::filesystem;

class DailyUseTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { w_ = std::make_unique<test::WindowFixture>(); }
  void cleanup() { w_.reset(); }

  void MessageBoxesSpeakJapanese();
  void QtsOwnDialogsSpeakJapanese();
  void MessageBoxKeysAnswer_data();
  void MessageBoxKeysAnswer();
  void TheKeyboardChoosesTheOnlyFile_data();
  void TheKeyboardChoosesTheOnlyFile();
  void DuringALockWaitOnlyExitWorksAndItChangesNothing();
  void ATrialSaysItChangedNothing();
  void TheTrialsReportChoosesTheDataEncoding();
  void ListsShowTheirFocus();
  void TheDriveBoxShowsTheEndOfALongFolder();
  void TheDestinationListShowsAFolderTheRunCreated();
  void AddedWindowsOpenBesideTheMainWindowAndCloseWithEsc();

 private:
  std::unique_ptr<test::WindowFixture> w_;
};

void DailyUseTest::MessageBoxesSpeakJapanese() {
  std::unique_ptr<QMessageBox> ask = MakeMessageBox(
      nullptr, {u"フォルダがありません。新規作成しますか？", MsgIcon::kQuestion, Text(), true});
  QStringList texts;
  for (QAbstractButton* b : ask->buttons()) texts << b->text();
  texts.sort();
  QCOMPARE(texts, QStringList({QStringLiteral("いいえ"), QStringLiteral("はい")}));
  QCOMPARE(ask->defaultButton()->text(), QStringLiteral("はい"));
  QCOMPARE(ask->escapeButton()->text(), QStringLiteral("いいえ"));
  QCOMPARE(ask->icon(), QMessageBox::Question);

  std::unique_ptr<QMessageBox> tell =
      MakeMessageBox(nullptr, {u"変換元ファイルが選択されていません。", MsgIcon::kNone, Text()});
  QCOMPARE(tell->buttons().size(), qsizetype{1});
  QCOMPARE(tell->buttons()[0]->text(), QStringLiteral("OK"));
  QCOMPARE(tell->defaultButton(), tell->buttons()[0]);
  QCOMPARE(tell->escapeButton(), tell->buttons()[0]);
  QCOMPARE(tell->text(), QStringLiteral("変換元ファイルが選択されていません。"));
}

void DailyUseTest::QtsOwnDialogsSpeakJapanese() {
  // The print and file dialogs take their texts from Qt's Japanese translation.
  QVERIFY(InstallJapaneseQtTexts());
  QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
  QVERIFY(QCoreApplication::translate("QPrintDialog", "Print") != QStringLiteral("Print"));
}

void DailyUseTest::MessageBoxKeysAnswer_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<bool>("yes");
  QTest::newRow("Y") << int(Qt::Key_Y) << true;
  QTest::newRow("N") << int(Qt::Key_N) << false;
  QTest::newRow("Enter") << int(Qt::Key_Return) << true;
  QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
}

void DailyUseTest::MessageBoxKeysAnswer() {
  QFETCH(int, key);
  QFETCH(bool, yes);
  bool pressed = false;
  // The key goes to the box once it is up and waiting.
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    QVERIFY(box != nullptr);
    pressed = true;
    QTest::keyClick(box, static_cast<Qt::Key>(key));
  });
  const bool answer = ShowMessageBox(
      nullptr, {u"フォルダがありません。新規作成しますか？", MsgIcon::kQuestion, Text(), true});
  QVERIFY(pressed);
  QCOMPARE(answer, yes);
}

void DailyUseTest::TheKeyboardChoosesTheOnlyFile_data() {
  QTest::addColumn<int>("key");
  QTest::newRow("Down") << int(Qt::Key_Down);
  QTest::newRow("Space") << int(Qt::Key_Space);
  QTest::newRow("Enter") << int(Qt::Key_Return);
}

void DailyUseTest::TheKeyboardChoosesTheOnlyFile() {
  QFETCH(int, key);
  if (!w_->LoadSample(QStringLiteral("T:\\OUT\\P001\\SITE\\B-1"))) QFAIL("no window");
  // The folder holds one data set, as usual.
  w_->ChooseDrive("Drive1", u'T');
  auto* dir1 = w_->Find<FolderList>("Dir1");
  emit dir1->RowOpened(dir1->RowOfSubfolder(u"GEO"));
  QVERIFY(w_->TextOf("Text1") == u"T:\\GEO");
  auto* files = w_->Find<FileList>("File1");
  QCOMPARE(files->count(), 1);
  w_->Form().activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w_->Form()));
  files->setFocus(Qt::TabFocusReason);
  QTest::keyClick(files, static_cast<Qt::Key>(key));
  QVERIFY(w_->TextOf("Text1") == u"T:\\GEO\\MDT0001.GDF");

  // Execute converts it.
  QTest::mouseClick(w_->Find<QPushButton>("Command1"), Qt::LeftButton);
  QVERIFY(w_->boxes.empty());
  QVERIFY(w_->Status() == u"変換が正常に終了しました。");
}

void DailyUseTest::DuringALockWaitOnlyExitWorksAndItChangesNothing() {
  if (!w_->LoadSample(QStringLiteral("T:\\OUT\\NEW\\B-1"))) QFAIL("no window");
  Form1Window& form = w_->Form();
  form.State().lockWait = std::chrono::seconds(60);
  // Another run holds the reference folder.
  std::unique_ptr<HeldLock> other = w_->Drive().Files().TryLock(u"T:\\PATDAT\\OSTRACONV.LCK");
  QVERIFY(other != nullptr);
  auto snapshot = [&] {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(w_->Drive().Root())) {
      files[e.path().string()] = e.is_regular_file() ? test::ReadBytes(e.path()) : "<folder>";
    }
    return files;
  };
  const auto before = snapshot();

  // Once the run says that it waits, the user tries the window.
  auto* text1 = w_->Find<QLineEdit>("Text1");
  auto* execute = w_->Find<QPushButton>("Command1");
  auto* exit = w_->Find<QPushButton>("Command2");
  bool tried = false;
  QString text1During;
  size_t boxesDuring = 0;
  QTimer watch;
  connect(&watch, &QTimer::timeout, [&] {
    if (tried || w_->Status().find(u"使用中") == Text::npos) return;
    tried = true;
    QTest::keyClicks(text1, QStringLiteral("X"));
    QTest::mouseClick(text1, Qt::LeftButton);
    QTest::mouseClick(execute, Qt::LeftButton);
    QTest::mouseClick(w_->Find<QPushButton>("DryRunButton"), Qt::LeftButton);
    text1During = text1->text();
    boxesDuring = w_->boxes.size();
    QTest::mouseClick(exit, Qt::LeftButton);
  });
  watch.start(10);
  QTest::mouseClick(execute, Qt::LeftButton);
  watch.stop();

  QVERIFY(tried);
  // Nothing reacted but Exit: the text is as it was, no second run asked anything.
  QCOMPARE(text1During, QStringLiteral("T:\\GEO\\MDT0001.GDF"));
  QCOMPARE(boxesDuring, size_t{1});  // the folder question, before the wait
  QCOMPARE(w_->boxes.size(), size_t{1});
  // Exit gave the run up before it changed anything and closed the window.
  QVERIFY(!form.isVisible());
  QVERIFY(snapshot() == before);
  QVERIFY(!fs::exists(w_->Drive().Host("OUT/NEW")));
  QVERIFY(!form.State().completionShown);
  QVERIFY(w_->Status().empty());
  QCOMPARE(text1->text(), QStringLiteral("T:\\GEO\\MDT0001.GDF"));
}

void DailyUseTest::ATrialSaysItChangedNothing() {
  if (!w_->LoadSample(QStringLiteral("T:\\OUT\\P001\\SITE\\B-1"))) QFAIL("no window");
  QTest::mouseClick(w_->Find<QPushButton>("DryRunButton"), Qt::LeftButton);
  QVERIFY(w_->Status() == u"試行変換が終了しました（ファイルは変更していません）");
  QVERIFY(!fs::exists(w_->Drive().Host("OUT/P001/SITE/B-1/CNT.TXT")));
  // A real run says what it always said.
  QTest::mouseClick(w_->Find<QPushButton>("Command1"), Qt::LeftButton);
  QVERIFY(w_->Status() == u"変換が正常に終了しました。");
  QVERIFY(w_->boxes.empty());
}

void DailyUseTest::TheTrialsReportChoosesTheDataEncoding() {
  if (!w_->LoadSample(QStringLiteral("T:\\OUT\\B-1"))) QFAIL("no window");
  // The data set in UTF-8 but for one stray byte: the guess stops the trial.
  for (const char* section : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
    const fs::path file = w_->Drive().Host(std::string("GEO/") + section + "0001.GDF");
    test::WriteBytes(file, ToUtf8(DecodeCp932(test::ReadBytes(file))));
  }
  const fs::path mdt = w_->Drive().Host("GEO/MDT0001.GDF");
  test::WriteBytes(mdt, test::ReadBytes(mdt) + "\xE9");
  QTest::mouseClick(w_->Find<QPushButton>("DryRunButton"), Qt::LeftButton);
  // The folder question (B-1 is missing), then the guess's stop.
  QCOMPARE(w_->boxes.size(), size_t{2});
  QTest::mouseClick(w_->Find<QPushButton>("ReportButton"), Qt::LeftButton);
  auto* report = w_->Form().findChild<RunReportWindow*>();
  QVERIFY(report != nullptr);
  QCOMPARE(report->EncodingBox()->currentIndex(), 0);
  // Choosing Shift-JIS makes the trial again, which now goes through.
  report->EncodingBox()->setCurrentIndex(1);
  emit report->EncodingBox()->activated(1);
  QVERIFY(w_->Form().State().encoding == DataEncoding::kCp932);
  QVERIFY(w_->Status() == u"試行変換が終了しました（変換先フォルダは実際の変換で作成されます）");
  QVERIFY(report->TextPane()->toPlainText().contains(
      QStringLiteral("データの文字コード: Shift-JIS（コードページ 932）（指定）")));
  QVERIFY(!fs::exists(w_->Drive().Host("OUT/B-1")));
}

void DailyUseTest::ListsShowTheirFocus() {
  WriteSjis(w_->Drive().Host("PATDAT/kishitu.txt"), "5012,花崗岩\r\n");
  WriteSjis(w_->Drive().Host("MDT0001.GDF"), "x");
  QVERIFY(w_->Load());
  w_->Form().activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w_->Form()));
  for (const char* name : {"File1", "Dir1", "Dir2"}) {
    auto* list = w_->Find<QListWidget>(name);
    const QColor highlight = list->palette().color(QPalette::Highlight);
    w_->Find<QPushButton>("Command1")->setFocus();
    QImage without = list->grab().toImage();
    list->setFocus();
    QVERIFY(list->hasFocus());
    QImage with = list->grab().toImage();
    // A frame two pixels wide in the highlight colour, only while the list has the focus.
    const int y = with.height() / 2;
    QCOMPARE(with.pixelColor(1, y), highlight);
    QCOMPARE(with.pixelColor(with.width() - 2, y), highlight);
    QVERIFY2(without.pixelColor(1, y) != highlight, name);
  }
}

void DailyUseTest::TheDriveBoxShowsTheEndOfALongFolder() {
  WriteSjis(w_->Drive().Host("PATDAT/kishitu.txt"), "5012,花崗岩\r\n");
  const std::string deep = "a-rather-long-folder-name/another-long-folder-name/the-site-geo";
  fs::create_directories(w_->Drive().Host(deep));
  w_->Drive().Files().Drives().Set(u'S', w_->Drive().Host(deep));
  QVERIFY(w_->Load());
  auto* drive = w_->Find<DriveList>("Drive1");
  drive->setCurrentIndex(drive->findText(QStringLiteral("S:"), Qt::MatchStartsWith));
  QCOMPARE(drive->Letter(), u'S');
  const QString full = drive->currentText();
  const QString shown = drive->ShownText();
  // Too long for the box: the letter and the end of the folder stay, the middle goes.
  QVERIFY(shown.size() < full.size());
  QVERIFY(shown.startsWith(QStringLiteral("S:")));
  QVERIFY2(shown.endsWith(QStringLiteral("geo]")), qPrintable(shown));
  QVERIFY(drive->fontMetrics().horizontalAdvance(shown) < drive->width());
  QCOMPARE(drive->toolTip(), full);
  QVERIFY(drive->view()->minimumWidth() > drive->fontMetrics().horizontalAdvance(full));
}

void DailyUseTest::TheDestinationListShowsAFolderTheRunCreated() {
  if (!w_->LoadSample(QStringLiteral("T:\\OUT"))) QFAIL("no window");
  auto* dir2 = w_->Find<FolderList>("Dir2");
  w_->ChooseDrive("Drive2", u'T');
  emit dir2->RowOpened(dir2->RowOfSubfolder(u"OUT"));
  QVERIFY(dir2->Path() == u"T:\\OUT");
  QVERIFY(dir2->RowOfSubfolder(u"B-1") < 0);
  w_->Find<QLineEdit>("Text2")->setText(QStringLiteral("T:\\OUT\\B-1"));
  QTest::mouseClick(w_->Find<QPushButton>("Command1"), Qt::LeftButton);
  QVERIFY(w_->Status() == u"変換が正常に終了しました。");
  QVERIFY(dir2->RowOfSubfolder(u"B-1") >= 0);
  QVERIFY(dir2->Path() == u"T:\\OUT");
}

void DailyUseTest::AddedWindowsOpenBesideTheMainWindowAndCloseWithEsc() {
  if (!w_->LoadSample(QStringLiteral("T:\\OUT\\B-1"))) QFAIL("no window");
  Form1Window& form = w_->Form();
  QTest::mouseClick(w_->Find<QPushButton>("Command1"), Qt::LeftButton);
  const QRect main = form.frameGeometry();
  const QRect area = form.screen()->availableGeometry();
  int index = 0;
  for (const char* button : {"ReportButton", "PreviewButton"}) {
    QWidget* window = std::string(button) == "ReportButton"
                          ? static_cast<QWidget*>(form.findChild<RunReportWindow*>())
                          : static_cast<QWidget*>(form.findChild<BoringLogWindow*>());
    const QSize size = window != nullptr ? window->frameGeometry().size() : QSize();
    QTest::mouseClick(w_->Find<QPushButton>(button), Qt::LeftButton);
    if (window == nullptr) {
      window = std::string(button) == "ReportButton"
                   ? static_cast<QWidget*>(form.findChild<RunReportWindow*>())
                   : static_cast<QWidget*>(form.findChild<BoringLogWindow*>());
    }
    QVERIFY(window != nullptr && window->isVisible());
    // Where the placing rule puts it, the report first and the picture second; inside the screen.
    const QSize placed = size.isValid() ? size : window->frameGeometry().size();
    const ScreenRect want =
        PlaceBeside({main.left(), main.top(), main.width(), main.height()}, placed.width(),
                    placed.height(), {area.left(), area.top(), area.width(), area.height()}, index);
    QVERIFY2(window->pos() == QPoint(want.left, want.top),
             qPrintable(QStringLiteral("%1 at %2,%3 size %4x%5 main %6,%7 %8x%9")
                            .arg(QString::fromLatin1(button))
                            .arg(window->x())
                            .arg(window->y())
                            .arg(placed.width())
                            .arg(placed.height())
                            .arg(main.left())
                            .arg(main.top())
                            .arg(main.width())
                            .arg(main.height())));
    QVERIFY(area.contains(QRect(window->pos(), QSize(want.width, want.height))));
    ++index;
  }
  for (QWidget* window : {static_cast<QWidget*>(form.findChild<RunReportWindow*>()),
                          static_cast<QWidget*>(form.findChild<BoringLogWindow*>())}) {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr && focus->window() == window ? focus : window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
  }
}

}  // namespace ostra

QTEST_MAIN(ostra::DailyUseTest)
#include "daily_use_test.moc"
