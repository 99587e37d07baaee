// The drive, folder and file lists of the window. They work on drive-form paths ("T:\GEO")
// through the drive map, like the classic drive, folder and file list boxes.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <vector>

#include "base/codec.h"
#include "env/drive_map_env.h"

namespace ostra {

// Names of the folders inside `folder`, sorted without regard to letter case. Hidden folders
// (names starting with ".") are left out. An unreadable folder gives an empty list.
std::vector<Text> ListSubfolders(Env& env, const Text& folder);
// Whether a folder exists and can be looked at (a folder the system cannot read is passed by).
bool FolderReachable(Env& env, const Text& folder);
// Names of the ordinary files in `folder` that match `pattern`, sorted like ListSubfolders.
std::vector<Text> ListMatchingFiles(Env& env, const Text& folder, const Text& pattern);
// Wildcard match with "*" and "?", ignoring the letter case of ASCII letters.
bool MatchesPattern(const Text& name, const Text& pattern);
// The file or folder `name` in `folder`, joined through one "\".
Text JoinPath(const Text& folder, const Text& name);

// The mapped drives, one line each ("T: [/tmp/geo]").
class DriveList : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveList(DriveMapEnv& env, QWidget* parent = nullptr);
  // Reloads the letters from the drive map, keeping the selection where possible.
  void Reload();
  // The selected drive letter (upper case), or 0 when the list is empty.
  char16_t Letter() const;
  // Selects `letter` without announcing a change; false when it is not in the list.
  bool SelectQuietly(char16_t letter);
  // The text the closed box shows: the whole line, or when it is too long the letter and the
  // end of the host folder with the middle left out ("T: [/home/…/geo]"). The whole line is the
  // tooltip, and the open list is as wide as its longest line.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  DriveMapEnv& env_;
};

// The folder list: the path from the drive root down to the current folder, one line per level,
// followed by the subfolders of the current folder, each indented by its depth. Activating a
// line (double-click or Enter) opens that folder.
class FolderList : public QListWidget {
  Q_OBJECT

 public:
  explicit FolderList(Env& env, QWidget* parent = nullptr);
  // The current folder in drive form: "T:\" for a drive root, "T:\GEO" below it.
  const Text& Path() const { return path_; }
  // Opens `path`; announces PathChanged when it differs from the current folder. Returns false,
  // leaving the list as it was, when the folder cannot be read.
  bool SetPath(const Text& path);
  // The row that shows `name` among the subfolders of the current folder, or -1.
  int RowOfSubfolder(const Text& name) const;
  // Reads the current folder again (a run may have created folders in it).
  void Refresh();

 signals:
  void PathChanged();

 private:
  void Fill();
  Env& env_;
  Text path_;
};

// The file list: the files of one folder that match a pattern.
class FileList : public QListWidget {
  Q_OBJECT

 public:
  explicit FileList(Env& env, QWidget* parent = nullptr);
  void SetPattern(const Text& pattern);
  void SetFolder(const Text& folder);
  const Text& Pattern() const { return pattern_; }
  const Text& Folder() const { return folder_; }
  // The chosen file name, or "" when none is chosen.
  Text FileName() const;
  void Refresh();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Env& env_;
  Text pattern_ = u"*";
  Text folder_;
};

}  // namespace ostra
