#include "gui/selectors.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "app/selectors.h"
#include "gui/qt_text.h"

namespace ostra {

namespace {

constexpr int kNameRole = Qt::UserRole;       // the folder's own name
constexpr int kDepthRole = Qt::UserRole + 1;  // indentation level of a folder line
constexpr int kOpenRole = Qt::UserRole + 2;   // a level of the current path
constexpr int kIndentPixels = 10;

// Indents each folder line by its depth.
class IndentDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem shifted(option);
    shifted.rect.setLeft(option.rect.left() + index.data(kDepthRole).toInt() * kIndentPixels);
    QStyledItemDelegate::paint(painter, shifted, index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rwidth() += index.data(kDepthRole).toInt() * kIndentPixels;
    return size;
  }
};

// A list shows clearly when it has the keyboard focus: its frame turns to the highlight colour.
// The frame keeps its width, so that the list's contents do not move.
void MarkFocus(QListWidget* list) {
  list->setStyleSheet(
      QStringLiteral("QListWidget { border: 2px solid palette(mid); }"
                     "QListWidget:focus { border: 2px solid palette(highlight); }"));
}

// Keys that move the cursor in a list or pick its line.
bool IsChoosingKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
    case Qt::Key_Select:
      return true;
    default:
      return false;
  }
}

}  // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
  connect(this, &QComboBox::currentIndexChanged, this, [this] { setToolTip(currentText()); });
}

void DriveList::SetLines(const std::vector<Text>& lines, int selected) {
  {
    QSignalBlocker quiet(this);
    if (count() != static_cast<int>(lines.size())) clear();
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i < static_cast<size_t>(count())) {
        setItemText(static_cast<int>(i), ToQString(lines[i]));
      } else {
        addItem(ToQString(lines[i]));
      }
    }
    setCurrentIndex(selected);
  }
  setToolTip(currentText());
  // The open list shows every line whole.
  int widest = 0;
  for (int i = 0; i < count(); ++i)
    widest = std::max(widest, fontMetrics().horizontalAdvance(itemText(i)));
  view()->setMinimumWidth(widest + 2 * style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

char16_t DriveList::Letter() const {
  const QString line = currentText();
  return line.isEmpty() ? 0 : static_cast<char16_t>(line.at(0).unicode());
}

QString DriveList::ShownText() const {
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QRect field =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  return fontMetrics().elidedText(currentText(), Qt::ElideMiddle, field.width() - 4);
}

void DriveList::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  option.currentText = ShownText();
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

// ---------------------------------------------------------------------------------------------

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new IndentDelegate(this));
  setUniformItemSizes(true);
  MarkFocus(this);
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (item != nullptr) emit RowOpened(row(item));
  });
}

void FolderList::SetRows(const std::vector<FolderRow>& rows, int current) {
  QSignalBlocker quiet(this);
  clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  for (const FolderRow& r : rows) {
    auto* line = new QListWidgetItem(r.open ? open : closed, ToQString(r.name), this);
    line->setData(kNameRole, ToQString(r.name));
    line->setData(kDepthRole, r.indent);
    line->setData(kOpenRole, r.open);
  }
  if (current >= 0 && current < count()) {
    setCurrentRow(current);
    scrollToItem(item(current));
  }
}

Text FolderList::Path() const {
  Text path;
  for (int r = 0; r < count() && item(r)->data(kOpenRole).toBool(); ++r) {
    const Text name = FromQString(item(r)->data(kNameRole).toString());
    path = r == 0 ? name : JoinPath(path, name);
  }
  return path;
}

int FolderList::RowOfSubfolder(const Text& name) const {
  const QString want = ToQString(name);
  for (int r = count() - 1; r >= 0; --r) {
    if (!item(r)->data(kOpenRole).toBool() && item(r)->data(kNameRole).toString() == want) return r;
  }
  return -1;
}

// ---------------------------------------------------------------------------------------------

FileList::FileList(QWidget* parent) : QListWidget(parent) {
  MarkFocus(this);
  connect(this, &QListWidget::itemClicked, this, [this] { Announce(); });
  connect(this, &QListWidget::itemSelectionChanged, this, [this] { Announce(); });
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (item != nullptr) item->setSelected(true);
    Announce();
  });
}

void FileList::SetNames(const std::vector<Text>& names, int selected) {
  QSignalBlocker quiet(this);
  clear();
  for (const Text& name : names) addItem(ToQString(name));
  if (selected >= 0 && selected < count()) setCurrentRow(selected);
}

void FileList::Announce() {
  QListWidgetItem* chosen = currentItem();
  emit FileChosen(chosen != nullptr && chosen->isSelected() ? row(chosen) : -1);
}

void FileList::keyPressEvent(QKeyEvent* event) {
  QListWidget::keyPressEvent(event);
  // The line under the keyboard's cursor is the chosen one, also when the key could not move
  // the cursor (Down in a list of one line).
  QListWidgetItem* line = currentItem();
  if (line != nullptr && !line->isSelected() && IsChoosingKey(event->key())) {
    line->setSelected(true);
  }
}

}  // namespace ostra
