#include "gui/selectors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/drive_path.h"
#include "base/errors.h"
#include "env/host_env.h"
#include "gui/qt_text.h"

namespace ostra {

namespace fs = std::filesystem;

namespace {

constexpr int kPathRole = Qt::UserRole;       // full drive-form path of a folder line
constexpr int kDepthRole = Qt::UserRole + 1;  // indentation level of a folder line
constexpr int kIndentPixels = 10;

char16_t FoldChar(char16_t c) {
  return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

Text Fold(Text t) {
  for (char16_t& c : t) c = FoldChar(c);
  return t;
}

void SortNames(std::vector<Text>& names) {
  std::sort(names.begin(), names.end(), [](const Text& a, const Text& b) {
    Text fa = Fold(a), fb = Fold(b);
    return fa != fb ? fa < fb : a < b;
  });
}

// Entries of a drive-form folder that pass `keep`, by name. Any error gives what was read.
template <typename Keep>
std::vector<Text> ListEntries(Env& env, const Text& folder, Keep keep) {
  std::vector<Text> names;
  try {
    for (const FolderEntry& e : env.ListFolder(folder)) {
      if (e.name.empty() || e.name.front() == u'.') continue;
      if (keep(e)) names.push_back(e.name);
    }
  } catch (const RunError&) {
    // A folder that cannot be read lists nothing: the user picks another.
  }
  SortNames(names);
  return names;
}

}  // namespace

bool FolderReachable(Env& env, const Text& folder) {
  try {
    return env.FolderExists(folder);
  } catch (const RunError&) {
    return false;
  }
}

namespace {

bool MatchFrom(const Text& name, size_t n, const Text& pattern, size_t p) {
  while (p < pattern.size()) {
    char16_t pc = pattern[p];
    if (pc == u'*') {
      for (size_t k = n; k <= name.size(); ++k) {
        if (MatchFrom(name, k, pattern, p + 1)) return true;
      }
      return false;
    }
    if (n >= name.size()) return false;
    if (pc != u'?' && FoldChar(pc) != FoldChar(name[n])) return false;
    ++n;
    ++p;
  }
  return n == name.size();
}

// Drive root of a drive-form path: "T:\".
Text RootOf(const Text& path) {
  return path.substr(0, 2) + u"\\";
}

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

std::vector<Text> ListSubfolders(Env& env, const Text& folder) {
  return ListEntries(env, folder, [](const FolderEntry& e) { return e.kind == FileKind::kFolder; });
}

std::vector<Text> ListMatchingFiles(Env& env, const Text& folder, const Text& pattern) {
  return ListEntries(env, folder, [&pattern](const FolderEntry& e) {
    return e.kind == FileKind::kFile && MatchesPattern(e.name, pattern);
  });
}

bool MatchesPattern(const Text& name, const Text& pattern) {
  return MatchFrom(name, 0, pattern, 0);
}

Text JoinPath(const Text& folder, const Text& name) {
  return DrivePath(folder).Join(name);
}

// ---------------------------------------------------------------------------------------------

DriveList::DriveList(DriveMapEnv& env, QWidget* parent) : QComboBox(parent), env_(env) {
  Reload();
  connect(this, &QComboBox::currentIndexChanged, this, [this] { setToolTip(currentText()); });
  setToolTip(currentText());
}

void DriveList::Reload() {
  char16_t keep = Letter();
  QSignalBlocker quiet(this);
  clear();
  for (char16_t letter : env_.Drives().Letters()) {
    Text label;
    label.push_back(letter);
    label += u":";
    if (std::optional<fs::path> root = env_.Drives().Root(letter)) {
      label += u" [" + HostText(*root) + u"]";
    }
    addItem(ToQString(label), QVariant(static_cast<int>(letter)));
  }
  if (keep != 0) SelectQuietly(keep);
  // The open list shows every line whole.
  int widest = 0;
  for (int i = 0; i < count(); ++i)
    widest = std::max(widest, fontMetrics().horizontalAdvance(itemText(i)));
  view()->setMinimumWidth(widest + 2 * style()->pixelMetric(QStyle::PM_ScrollBarExtent));
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

char16_t DriveList::Letter() const {
  if (currentIndex() < 0) return 0;
  return static_cast<char16_t>(currentData().toInt());
}

bool DriveList::SelectQuietly(char16_t letter) {
  int row = findData(QVariant(static_cast<int>(FoldChar(letter))));
  if (row < 0) return false;
  {
    QSignalBlocker quiet(this);
    setCurrentIndex(row);
  }
  setToolTip(currentText());
  return true;
}

// ---------------------------------------------------------------------------------------------

FolderList::FolderList(Env& env, QWidget* parent) : QListWidget(parent), env_(env) {
  setItemDelegate(new IndentDelegate(this));
  setUniformItemSizes(true);
  MarkFocus(this);
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (item != nullptr) SetPath(FromQString(item->data(kPathRole).toString()));
  });
}

bool FolderList::SetPath(const Text& path) {
  if (DriveLetterOf(path) == 0) return false;
  const Text folder = DrivePath(path).AsText();
  if (!FolderReachable(env_, folder)) return false;
  bool changed = folder != path_;
  path_ = folder;
  Fill();
  if (changed) emit PathChanged();
  return true;
}

void FolderList::Refresh() {
  if (!path_.empty() && FolderReachable(env_, path_)) Fill();
}

int FolderList::RowOfSubfolder(const Text& name) const {
  QString want = ToQString(JoinPath(path_, name));
  for (int row = count() - 1; row >= 0; --row) {
    if (item(row)->data(kPathRole).toString() == want) return row;
  }
  return -1;
}

void FolderList::Fill() {
  QSignalBlocker quiet(this);
  clear();
  QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  auto add = [this](const QIcon& icon, const Text& label, const Text& full, int depth) {
    auto* line = new QListWidgetItem(icon, ToQString(label), this);
    line->setData(kPathRole, ToQString(full));
    line->setData(kDepthRole, depth);
    return line;
  };
  // The levels from the root down to the current folder.
  Text root = RootOf(path_);
  QListWidgetItem* current = add(open, root, root, 0);
  int depth = 0;
  Text sofar = root;
  size_t pos = 3;
  while (pos < path_.size()) {
    size_t end = path_.find(u'\\', pos);
    if (end == Text::npos) end = path_.size();
    Text name = path_.substr(pos, end - pos);
    pos = end + 1;
    if (name.empty()) continue;
    sofar = JoinPath(sofar, name);
    current = add(open, name, sofar, ++depth);
  }
  for (const Text& name : ListSubfolders(env_, path_))
    add(closed, name, JoinPath(path_, name), depth + 1);
  setCurrentItem(current);
  scrollToItem(current);
}

// ---------------------------------------------------------------------------------------------

FileList::FileList(Env& env, QWidget* parent) : QListWidget(parent), env_(env) {
  MarkFocus(this);
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

void FileList::SetPattern(const Text& pattern) {
  if (pattern == pattern_) return;
  pattern_ = pattern;
  Refresh();
}

void FileList::SetFolder(const Text& folder) {
  folder_ = folder;
  Refresh();
}

Text FileList::FileName() const {
  QListWidgetItem* chosen = currentItem();
  return chosen != nullptr && chosen->isSelected() ? FromQString(chosen->text()) : Text();
}

void FileList::Refresh() {
  QSignalBlocker quiet(this);
  clear();
  if (folder_.empty()) return;
  for (const Text& name : ListMatchingFiles(env_, folder_, pattern_)) addItem(ToQString(name));
}

}  // namespace ostra
