// The controls of the window: their names, captions, places and tab order, and what their
// events call.
#include <QFont>
#include <QPalette>
#include <iterator>

#include "gui/form1_window.h"
#include "gui/qt_text.h"

namespace ostra {

namespace {

// Client area of the window, in twips.
constexpr int kClientWidth = 9090;
constexpr int kClientHeight = 6495;
constexpr int kTwipsPerInch = 1440;
// The strip below the original client area that holds the added buttons.
constexpr int kStripHeight = 735;

// Fonts that show Japanese, the Windows ones first.
const QStringList kJapaneseFonts = {
    QStringLiteral("MS UI Gothic"),     QStringLiteral("MS PGothic"),   QStringLiteral("Meiryo UI"),
    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),   QStringLiteral("IPAGothic"),
    QStringLiteral("VL PGothic"),       QStringLiteral("TakaoPGothic"),
};

}  // namespace

int Form1Window::Px(int twips) const {
  return static_cast<int>(twips * 96.0 * scale_ / kTwipsPerInch + 0.5);
}

void Form1Window::Place(QWidget* w, int left, int top, int width, int height) const {
  w->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

void Form1Window::BuildControls() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(ToQString(kFormCaption));
  setFixedSize(Px(kClientWidth), Px(kClientHeight + kStripHeight));

  QFont font = this->font();
  font.setFamilies(kJapaneseFonts);
  font.setPointSize(10);
  setFont(font);

  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(grey);
  setAutoFillBackground(true);

  auto name = [](QWidget* w, const char* objectName) {
    w->setObjectName(QString::fromLatin1(objectName));
    return w;
  };
  auto greyed = [&grey](QWidget* w) {
    w->setPalette(grey);
    w->setAutoFillBackground(true);
  };

  picture1_ = new QFrame(this);
  name(picture1_, "Picture1");
  picture1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  picture1_->setMouseTracking(true);
  picture1_->installEventFilter(this);
  greyed(picture1_);
  Place(picture1_, 0, 0, 9075, 6495);

  label1_ = new QLabel(QStringLiteral("変換元ファイル名："), picture1_);
  name(label1_, "Label1");
  greyed(label1_);
  Place(label1_, 240, 360, 2235, 315);

  text1_ = new QLineEdit(picture1_);
  name(text1_, "Text1");
  Place(text1_, 2400, 300, 6255, 405);

  label2_ = new QLabel(QStringLiteral("変換先フォルダ名："), picture1_);
  name(label2_, "Label2");
  greyed(label2_);
  Place(label2_, 240, 960, 2235, 315);

  text2_ = new QLineEdit(picture1_);
  name(text2_, "Text2");
  Place(text2_, 2400, 900, 6255, 405);

  frame1_ = new QGroupBox(QStringLiteral("変換元ファイル名選択"), picture1_);
  name(frame1_, "Frame1");
  greyed(frame1_);
  Place(frame1_, 240, 1680, 5175, 2895);

  file1_ = new FileList(frame1_);
  name(file1_, "File1");
  Place(file1_, 120, 420, 2415, 2190);

  dir1_ = new FolderList(frame1_);
  name(dir1_, "Dir1");
  Place(dir1_, 2640, 420, 2415, 1530);

  drive1_ = new DriveList(frame1_);
  name(drive1_, "Drive1");
  Place(drive1_, 2640, 2220, 2415, 390);

  frame2_ = new QGroupBox(QStringLiteral("変換先フォルダ名選択"), picture1_);
  name(frame2_, "Frame2");
  greyed(frame2_);
  Place(frame2_, 5580, 1680, 3135, 2895);

  dir2_ = new FolderList(frame2_);
  name(dir2_, "Dir2");
  Place(dir2_, 180, 420, 2595, 1530);

  drive2_ = new DriveList(frame2_);
  name(drive2_, "Drive2");
  Place(drive2_, 180, 2220, 2595, 390);

  frame3_ = new QGroupBox(QStringLiteral("メッセージ"), picture1_);
  name(frame3_, "Frame3");
  greyed(frame3_);
  Place(frame3_, 240, 4740, 8475, 675);

  label3_ = new QLabel(frame3_);
  name(label3_, "Label3");
  greyed(label3_);
  Place(label3_, 180, 240, 8175, 315);

  command1_ = new QPushButton(QStringLiteral("実  行"), picture1_);
  name(command1_, "Command1");
  Place(command1_, 2520, 5580, 1935, 555);

  command2_ = new QPushButton(QStringLiteral("終  了"), picture1_);
  name(command2_, "Command2");
  Place(command2_, 5160, 5580, 2055, 555);

  // The added buttons, below the original area and under the original buttons. The report
  // button works once a run has made a report.
  previewButton_ = new QPushButton(QStringLiteral("柱状図表示"), this);
  name(previewButton_, "PreviewButton");
  Place(previewButton_, 2520, kClientHeight + 120, 1935, 495);

  reportButton_ = new QPushButton(QStringLiteral("変換結果"), this);
  name(reportButton_, "ReportButton");
  Place(reportButton_, 5160, kClientHeight + 120, 2055, 495);
  reportButton_->setEnabled(false);

  dryRunButton_ = new QPushButton(QStringLiteral("試行変換"), this);
  name(dryRunButton_, "DryRunButton");
  Place(dryRunButton_, 240, kClientHeight + 120, 2055, 495);

  // Tab order: Dir1, Drive1, File1, Dir2, Drive2, Command1, Command2, Text1, Text2 (the panel,
  // frames and labels take no focus), then the added buttons.
  QWidget* order[] = {dir1_,     drive1_, file1_, dir2_,         drive2_,        command1_,
                      command2_, text1_,  text2_, dryRunButton_, previewButton_, reportButton_};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void Form1Window::ConnectControls() {
  Form1* form = presenter_.get();
  connect(drive1_, &QComboBox::currentIndexChanged, this,
          [form](int row) { form->Drive1_Select(row); });
  connect(drive2_, &QComboBox::currentIndexChanged, this,
          [form](int row) { form->Drive2_Select(row); });
  connect(dir1_, &FolderList::RowOpened, this, [form](int row) { form->Dir1_Open(row); });
  connect(dir2_, &FolderList::RowOpened, this, [form](int row) { form->Dir2_Open(row); });
  // A file chosen by the keyboard (arrow keys, Space, Enter) counts as a click.
  connect(file1_, &FileList::FileChosen, this, [form](int row) { form->File1_Select(row); });
  // What the user types in Text1 (the presenter hears of its own changes itself).
  connect(text1_, &QLineEdit::textEdited, this, [form] { form->Text1_Change(); });
  connect(command1_, &QPushButton::clicked, this, [form] { form->Command1_Click(); });
  connect(command2_, &QPushButton::clicked, this, [form] { form->Command2_Click(); });
  connect(previewButton_, &QPushButton::clicked, this, [form] { form->PreviewButton_Click(); });
  connect(reportButton_, &QPushButton::clicked, this, [form] { form->ReportButton_Click(); });
  connect(dryRunButton_, &QPushButton::clicked, this, [form] { form->DryRunButton_Click(); });
}

}  // namespace ostra
