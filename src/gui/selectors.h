// The drive, folder and file lists of the window: they show the lines the presenter gives them
// and tell which line the user chose.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <vector>

#include "app/form_view.h"
#include "base/codec.h"

namespace ostra {

// The mapped drives, one line each ("T: [/tmp/geo]").
class DriveList : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveList(QWidget* parent = nullptr);
  // Shows `lines` with line `selected` chosen, without announcing a change.
  void SetLines(const std::vector<Text>& lines, int selected);
  // The selected drive letter (upper case), or 0 when the list is empty.
  char16_t Letter() const;
  // The text the closed box shows: the whole line, or when it is too long the letter and the
  // end of the host folder with the middle left out ("T: [/home/…/geo]"). The whole line is the
  // tooltip, and the open list is as wide as its longest line.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The folder list: the path from the drive root down to the current folder, one line per level,
// followed by the subfolders of the current folder, each indented by its depth. Activating a
// line (double-click or Enter) announces RowOpened.
class FolderList : public QListWidget {
  Q_OBJECT

 public:
  explicit FolderList(QWidget* parent = nullptr);
  // Shows `rows` with the current folder's row `current`, without announcing a change.
  void SetRows(const std::vector<FolderRow>& rows, int current);
  // The folder shown as current, in drive form: "T:\" for a drive root, "T:\GEO" below it.
  Text Path() const;
  // The row that shows `name` among the subfolders of the current folder, or -1.
  int RowOfSubfolder(const Text& name) const;

 signals:
  void RowOpened(int row);
};

// The file list: the files of one folder that match the pattern. A click, or the keyboard's
// choice of a line, announces FileChosen (-1: no line is chosen).
class FileList : public QListWidget {
  Q_OBJECT

 public:
  explicit FileList(QWidget* parent = nullptr);
  void SetNames(const std::vector<Text>& names, int selected);

 signals:
  void FileChosen(int row);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Announce();
};

}  // namespace ostra
