// The boring-log picture window: true depth scale, zoom, scrolling that draws only what shows,
// headings with the files named in tooltips, and A4 pages in a PDF.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <filesystem>

#include "env/host_env.h"
#include "gui/boring_log_print.h"
#include "gui/preview_window.h"
#include "gui_fixture.h"
#include "preview/boring_log_builder.h"
#include "preview/boring_log_pages.h"
#include "preview/boring_log_viewport.h"

namespace ostra {

namespace {

// A hole of layers `thickness` metres thick down to `depth`, with their grades and fractures.
BoringLogModel Hole(double depth, double thickness) {
  BoringLogModel model;
  model.source = u"T:\\OUT\\B-1.MDT";
  model.holeName = u"B-1";
  const Text names[] = {u"砂岩", u"泥岩", u"花崗岩", u"礫岩"};
  int n = 0;
  for (double top = 0; top < depth - 1e-9; top += thickness, ++n) {
    const double bottom = std::min(depth, top + thickness);
    Layer layer = test::MakeLayer(top, bottom, names[n % 4]);
    layer.items[static_cast<size_t>(LayerItem::kGrade)] = u"ＣＭ";
    layer.items[static_cast<size_t>(LayerItem::kFractures)] = u"密着";
    layer.gradeCode = u"CM";
    model.layers.push_back(layer);
  }
  return model;
}

int PdfPages(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QString pdf = QString::fromLatin1(file.readAll());
  return static_cast<int>(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

}  // namespace

class PictureWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    window_ = std::make_unique<BoringLogWindow>();
    window_->resize(900, 700);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void TheSampleOpensAtOneToAHundred();
  void ScalesAreChosenInTheBoxWithTheWheelAndWithTheKeys();
  void FitToTheWindowShowsTheWholePictureFromTheTop();
  void HeadingsNameTheirFilesAndStayInSight();
  void TheTopOfTheAxisShowsBelowTheHeadings();
  void PrintAndPdfWantAPicture();
  void ThePdfDialogStartsInTheFolderShown();
  void ShortenedTextsShowWholeInTheirTooltips();
  void OnlyWhatShowsIsDrawn();
  void PdfPagesFollowFromThePrintableHeight_data();
  void PdfPagesFollowFromThePrintableHeight();

 private:
  BoringLogView* View() { return window_->View(); }
  std::unique_ptr<BoringLogWindow> window_;
};

void PictureWindowTest::TheSampleOpensAtOneToAHundred() {
  test::WindowFixture w;
  if (!w.LoadSample(QStringLiteral("T:\\OUT\\B-1"))) QFAIL("no window");
  QTest::mouseClick(w.Find<QPushButton>("Command1"), Qt::LeftButton);
  QTest::mouseClick(w.Find<QPushButton>("PreviewButton"), Qt::LeftButton);
  auto* window = w.Form().findChild<BoringLogWindow*>();
  QVERIFY(window != nullptr);
  BoringLogView* view = window->View();
  QCOMPARE(view->Scale(), 100.0);
  QCOMPARE(window->findChild<QComboBox*>(QStringLiteral("ScaleBox"))->currentText(),
           QStringLiteral("1:100"));
  // One metre of depth is 10 mm at the screen's logical resolution.
  const double screenPxPerMetre = view->Layout().pxPerMetre * view->DeviceScale();
  QCOMPARE(screenPxPerMetre, view->logicalDpiY() / 2.54);
  // The 30 m hole is taller than the window: it scrolls.
  QVERIFY(view->verticalScrollBar()->maximum() > 0);
  QVERIFY(std::abs(view->verticalScrollBar()->maximum() + view->viewport()->height() -
                   view->Layout().height * view->DeviceScale()) <= 1);
}

void PictureWindowTest::ScalesAreChosenInTheBoxWithTheWheelAndWithTheKeys() {
  window_->ShowModel(u"T:\\OUT", Hole(30, 1.5));
  auto* box = window_->findChild<QComboBox*>(QStringLiteral("ScaleBox"));
  QStringList offered;
  for (int i = 0; i < box->count(); ++i) offered << box->itemText(i);
  QCOMPARE(offered,
           QStringList({QStringLiteral("1:50"), QStringLiteral("1:100"), QStringLiteral("1:200"),
                        QStringLiteral("1:500"), QStringLiteral("全体表示")}));
  const double at100 = View()->Layout().bodyBottom - View()->Layout().bodyTop;

  box->setCurrentIndex(box->findText(QStringLiteral("1:500")));
  emit box->activated(box->currentIndex());
  QCOMPARE(View()->Scale(), 500.0);
  QCOMPARE(View()->Layout().bodyBottom - View()->Layout().bodyTop, at100 / 5);

  // Ctrl+wheel up: one step larger; without Ctrl the wheel scrolls.
  auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
    const QPointF at(50, 50);
    QWheelEvent event(at, View()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(View()->viewport(), &event);
  };
  wheel(120, Qt::ControlModifier);
  QCOMPARE(View()->Scale(), 200.0);
  QCOMPARE(box->currentText(), QStringLiteral("1:200"));
  wheel(-120, Qt::NoModifier);
  QCOMPARE(View()->Scale(), 200.0);

  // Ctrl++ and Ctrl+-, at the ends the scale stays.
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_Plus, Qt::ControlModifier);
  QCOMPARE(View()->Scale(), 100.0);
  QTest::keyClick(View(), Qt::Key_Plus, Qt::ControlModifier);
  QCOMPARE(View()->Scale(), 50.0);
  QTest::keyClick(View(), Qt::Key_Plus, Qt::ControlModifier);
  QCOMPARE(View()->Scale(), 50.0);
  QCOMPARE(View()->Layout().bodyBottom - View()->Layout().bodyTop, at100 * 2);
  QTest::keyClick(View(), Qt::Key_Minus, Qt::ControlModifier);
  QCOMPARE(View()->Scale(), 100.0);
  QCOMPARE(box->currentText(), QStringLiteral("1:100"));
}

void PictureWindowTest::FitToTheWindowShowsTheWholePictureFromTheTop() {
  BoringLogModel titled = Hole(30, 1.5);
  titled.header = {{u"調査名", u"トンネル調査"}, {u"孔名", u"B-1"}, {u"掘進長", u"30.00 m"}};
  titled.remarks = {{29.9, u"29.90", {u"亀裂が多い。", u"コア長は短い。"}},
                    {30, u"30.00", {u"孔底。"}}};
  for (const BoringLogModel& model : {titled, Hole(300, 2), BoringLogModel{}}) {
    for (const QSize size : {QSize(900, 700), QSize(480, 360)}) {
      window_->resize(size);
      window_->ShowModel(u"T:\\OUT", model);
      window_->SetScale(100);  // scrolled halfway, then fitted
      View()->verticalScrollBar()->setValue(View()->verticalScrollBar()->maximum() / 2);
      window_->SetScale(kFitScale);
      QCoreApplication::processEvents();
      QVERIFY(!View()->verticalScrollBar()->isVisible());
      QVERIFY(!View()->horizontalScrollBar()->isVisible());
      QCOMPARE(View()->verticalScrollBar()->value(), 0);
      const double k = View()->PixelScale();
      QVERIFY(std::ceil(View()->Layout().height * k) <= View()->viewport()->height());
      QVERIFY(std::ceil(View()->Layout().width * k) <= View()->viewport()->width());
    }
  }
  // From the fitted picture, Ctrl++ goes to the next scale larger than it.
  window_->resize(900, 700);
  window_->ShowModel(u"T:\\OUT", Hole(300, 2));
  window_->SetScale(kFitScale);
  View()->Zoom(1);
  QCOMPARE(View()->Scale(), 500.0);
  QCOMPARE(View()->PixelScale(), View()->DeviceScale());
}

void PictureWindowTest::HeadingsNameTheirFilesAndStayInSight() {
  window_->ShowModel(u"T:\\OUT", Hole(60, 1));
  const double k = View()->DeviceScale();
  const BoringLogLayout& layout = View()->Layout();
  const int headsY = static_cast<int>((layout.headsTop + layout.headHeight / 2) * k);
  auto tipAt = [&](ColumnKind kind, int y) {
    const ColumnBox* column = layout.Column(kind);
    return View()->ToolTipAt(QPoint(static_cast<int>((column->left + 3) * k), y));
  };
  QCOMPARE(tipAt(ColumnKind::kGrade, headsY), QStringLiteral("岩級区分：岩級区分（記載のまま）"));
  QCOMPARE(tipAt(ColumnKind::kFractures, headsY), QStringLiteral("割れ目：割れ目"));
  QCOMPARE(tipAt(ColumnKind::kName, headsY), QStringLiteral("岩種・地層名：岩種・地層名"));
  QVERIFY(layout.Column(ColumnKind::kColour) == nullptr);  // no colour in this hole
  // A grade's cell gives the code it takes.
  const int cellY = static_cast<int>((layout.layers[0].top + layout.layers[0].bottom) / 2 * k);
  QCOMPARE(tipAt(ColumnKind::kGrade, cellY),
           QStringLiteral("ＣＭ（岩級区分コード CM）（0.00～1.00 m）"));
  // Scrolled down the headings stay at the top, and so do their tooltips.
  View()->verticalScrollBar()->setValue(View()->verticalScrollBar()->maximum() / 2);
  QCOMPARE(tipAt(ColumnKind::kFractures, static_cast<int>(layout.headHeight / 2 * k)),
           QStringLiteral("割れ目：割れ目"));
}

void PictureWindowTest::TheTopOfTheAxisShowsBelowTheHeadings() {
  BoringLogModel model = Hole(30, 1.5);
  model.layers[0].bottom = model.layers[1].top = 0.1;  // its depth text right below 0 m
  model.layers[0].depthText = u"0.10";
  window_->ShowModel(u"T:\\OUT", model);
  for (double scale : {500.0, kFitScale}) {
    window_->SetScale(scale);
    const BoringLogLayout& layout = View()->Layout();
    const double headsBottom = layout.headsTop + layout.headHeight;
    QCOMPARE(View()->verticalScrollBar()->value(), 0);
    QVERIFY(layout.depthTicks.at(0).y + kTickTextDrop - kTextSize >= headsBottom);
    QVERIFY(layout.layers.at(0).depthLabelled);
    QVERIFY(layout.layers[0].bottom - kDepthTextLift - kDepthTextSize >= headsBottom);
  }
}

void PictureWindowTest::PrintAndPdfWantAPicture() {
  auto* print = window_->findChild<QPushButton*>(QStringLiteral("PrintButton"));
  auto* pdf = window_->findChild<QPushButton*>(QStringLiteral("PdfButton"));
  QVERIFY(!print->isEnabled() && !pdf->isEnabled());  // before any picture
  for (bool layers : {true, false, true, false}) {
    window_->ShowModel(u"T:\\OUT", layers ? Hole(10, 2) : BoringLogModel{});
    QCOMPARE(print->isEnabled(), layers);
    QCOMPARE(pdf->isEnabled(), layers);
  }
}

void PictureWindowTest::ThePdfDialogStartsInTheFolderShown() {
  test::TempDrive drive(u'T');
  std::filesystem::create_directories(drive.Host("調査 2024/B-1"));
  const QString shown = QDir(ToQString(HostText(drive.Host("調査 2024/B-1")))).filePath("B-1.pdf");
  // The data set's folder, the file named after the hole; without the drive map: the home folder.
  BoringLogModel hole = Hole(10, 2);
  hole.holeName = u"B-1";
  window_->ShowModel(u"T:\\調査 2024\\B-1\\MDT0001.GDF", hole);
  QCOMPARE(window_->PdfStartPath(), QDir::home().filePath(QStringLiteral("B-1.pdf")));
  window_->SetHostPaths(HostPathsThrough(drive.Files()));
  QCOMPARE(window_->PdfStartPath(), shown);
  // A folder that is gone: the nearest one above that is there; without a hole name, the file's.
  window_->ShowModel(u"T:\\調査 2024\\新規\\BED0002.XML", Hole(10, 2));
  QCOMPARE(window_->PdfStartPath(),
           QDir(ToQString(HostText(drive.Host("調査 2024")))).filePath("BED0002.pdf"));

  // The dialog the button opens.
  window_->ShowModel(u"T:\\調査 2024\\B-1\\MDT0001.GDF", hole);
  QString directory, file;
  QTimer poll;
  connect(&poll, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      directory = dialog->directory().absolutePath();
      file = dialog->selectedFiles().value(0);
      dialog->reject();
    }
  });
  poll.start(10);
  QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("PdfButton")), Qt::LeftButton);
  QCOMPARE(QDir(directory), QFileInfo(shown).dir());
  QCOMPARE(file, shown);
}

void PictureWindowTest::ShortenedTextsShowWholeInTheirTooltips() {
  BoringLogModel model = Hole(10, 0.2);
  model.layers[3].name = u"とても長い名前の地層でバンドに入りきらない";
  model.layers[3].items[static_cast<size_t>(LayerItem::kFractures)] = u"密着～ヘアークラック";
  window_->ShowModel(u"T:\\OUT", model);
  window_->SetScale(500);  // 0.2 m: under 2 pixels, no room for a line of text
  const BoringLogLayout& layout = View()->Layout();
  const double k = View()->PixelScale();
  auto at = [&](double x, double y) {  // to the nearest window pixel: the layers are 1.5 high
    return View()->ToolTipAt(
        QPoint(static_cast<int>(std::lround(x * k)),
               static_cast<int>(std::lround(y * k)) - View()->verticalScrollBar()->value()));
  };
  const double layerY = (layout.layers[3].top + layout.layers[3].bottom) / 2;
  QCOMPARE(at(layout.Column(ColumnKind::kName)->left + 20, layerY),
           QStringLiteral("とても長い名前の地層でバンドに入りきらない（0.60～0.80 m）"));
  QCOMPARE(at(layout.Column(ColumnKind::kFractures)->left + 5, layerY),
           QStringLiteral("密着～ヘアークラック（0.60～0.80 m）"));
}

void PictureWindowTest::OnlyWhatShowsIsDrawn() {
  // 30,000 layers of 0.5 m: 15 km of hole, 567,000 picture pixels at 1:100.
  window_->ShowModel(u"T:\\OUT", Hole(15000, 0.5));
  QCOMPARE(View()->Model().layers.size(), size_t{30000});
  View()->viewport()->repaint();
  const int first = View()->LayersPainted();
  QVERIFY(first > 0);
  // The window shows some 20 m: about 40 layers, never the whole hole.
  QVERIFY2(first < 100, qPrintable(QString::number(first)));
  View()->verticalScrollBar()->setValue(View()->verticalScrollBar()->maximum() / 2);
  View()->viewport()->repaint();
  QVERIFY(View()->LayersPainted() > 0);
  QVERIFY(View()->LayersPainted() < 100);
}

void PictureWindowTest::PdfPagesFollowFromThePrintableHeight_data() {
  QTest::addColumn<double>("scale");
  QTest::newRow("1:100") << 100.0;
  QTest::newRow("1:200") << 200.0;
  QTest::newRow("1:50") << 50.0;
}

void PictureWindowTest::PdfPagesFollowFromThePrintableHeight() {
  QFETCH(double, scale);
  // A 60 m hole on A4 portrait with margins of 10 mm: 190 x 277 mm to print on.
  window_->ShowModel(u"T:\\OUT", Hole(60, 5));
  window_->SetScale(scale);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("b1.pdf"));
  QVERIFY(window_->SavePdf(path));

  // The picture keeps its size on the paper: the depth keeps its scale, the text its size.
  const PrintPlan plan = PlanPrint(window_->Model(), scale, 190, 277);
  QCOMPARE(plan.strips.size(), size_t{1});
  const BoringLogLayout& layout = plan.strips[0];
  const double bodyMm = 60 * 1000.0 / scale;
  QCOMPARE((layout.bodyBottom - layout.bodyTop) * kPrintMmPerPx, bodyMm);
  // At least the pages the body needs below the heads, headings and title block; the seams
  // between texts may take one more.
  const double firstMm =
      277 - (kPageHeadHeight + layout.headsTop + layout.headHeight) * kPrintMmPerPx;
  const double otherMm = 277 - (kPageHeadHeight + layout.headHeight) * kPrintMmPerPx;
  const int least =
      bodyMm <= firstMm ? 1 : 1 + static_cast<int>(std::ceil((bodyMm - firstMm) / otherMm));
  QVERIFY(static_cast<int>(plan.pages.size()) >= least);
  QVERIFY(static_cast<int>(plan.pages.size()) <= least + 1);
  QCOMPARE(PdfPages(path), static_cast<int>(plan.pages.size()));
}

}  // namespace ostra

QTEST_MAIN(ostra::PictureWindowTest)
#include "picture_window_test.moc"
