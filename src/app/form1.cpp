// The presenter's start-up and its selectors: the drive, folder and file lists and the text boxes
// they fill.
#include "app/form1.h"

#include "app/form1_parts.h"
#include "base/drive_path.h"
#include "env/files.h"
#include "run/patdat.h"

namespace ostra {

namespace {

Text RootOf(char16_t letter) {
  Text root;
  root.push_back(letter);
  root += u":\\";
  return root;
}

int Index(Side side) {
  return static_cast<int>(side);
}

}  // namespace

void Form1::Lists::ShowDrives(Side side) {
  view.ShowDrives(side == Side::kSource ? Selector::kDrive1 : Selector::kDrive2, lines,
                  DriveRow(drive[Index(side)]));
}

int Form1::Lists::DriveRow(char16_t letter) const {
  for (size_t i = 0; i < letters.size(); ++i) {
    if (letters[i] == letter) return static_cast<int>(i);
  }
  return -1;
}

Text Form1::Lists::CurrentFolderOf(char16_t letter) {
  auto it = currentFolders.find(letter);
  if (it != currentFolders.end() && FolderReachable(env, it->second)) return it->second;
  return RootOf(letter);
}

void Form1::Lists::MakeCurrent(const Text& folder) {
  const char16_t letter = DriveLetterOf(folder);
  if (letter == 0) return;
  currentDrive = letter;
  currentFolders[letter] = folder;
}

bool Form1::Lists::OpenFolder(Side side, const Text& path, bool& changed) {
  changed = false;
  if (DriveLetterOf(path) == 0) return false;
  const Text folder = DrivePath(path).AsText();
  if (!FolderReachable(env, folder)) return false;
  changed = folder != dir[Index(side)];
  dir[Index(side)] = folder;
  Refresh(side);
  return true;
}

void Form1::Lists::Refresh(Side side) {
  const Text& folder = dir[Index(side)];
  if (folder.empty() || !FolderReachable(env, folder)) return;
  FolderListing listing = ListFolderRows(env, folder);
  dirPaths[Index(side)] = std::move(listing.paths);
  view.ShowFolders(side == Side::kSource ? Selector::kDir1 : Selector::kDir2, listing.rows,
                   listing.current);
}

void Form1::Lists::FillFiles(const Text& folder) {
  fileFolder = folder;
  files = folder.empty() ? std::vector<Text>() : ListMatchingFiles(env, folder, pattern);
  fileRow = -1;
  view.ShowFiles(files, -1);
}

Form1::Form1(DriveMapEnv& env, FormView& view, const std::filesystem::path& workingFolder)
    : env_(env),
      view_(view),
      lists_(std::make_unique<Lists>(env, view)),
      observer_(std::make_unique<Observer>(view, cancelRequested_)) {
  Lists& l = *lists_;
  l.letters = env_.Drives().Letters();
  l.lines = DriveLines(env_.Drives());
  // The current drive and folder are those of the working folder when a drive maps it, else
  // the root of the first usable drive.
  if (std::optional<Text> cwd = env_.Drives().ToDriveForm(workingFolder)) {
    l.currentDrive = DriveLetterOf(*cwd);
    l.currentFolders[l.currentDrive] = *cwd;
  } else {
    for (char16_t letter : l.letters) {
      if (DriveReady(env_, letter)) {
        l.currentDrive = letter;
        break;
      }
    }
  }
  // Both drive lists start on the current drive, else on their first line.
  const char16_t first = l.DriveRow(l.currentDrive) >= 0 ? l.currentDrive
                         : l.letters.empty()             ? char16_t{0}
                                                         : l.letters.front();
  l.drive[0] = l.drive[1] = first;
}

Form1::~Form1() = default;

bool Form1::Form_Load() {
  lists_->ShowDrives(Side::kSource);
  lists_->ShowDrives(Side::kDestination);
  app_.patdatFolder = FindPatdat(env_, [this] { view_.ProcessEvents(); });
  if (app_.patdatFolder.empty()) {
    view_.ShowBox({kMsgNoPatdat, MsgIcon::kNone, Text(), false});
    view_.CloseWindow();
    return false;
  }
  app_.completionShown = false;
  lists_->pattern = kSourcePattern;
  Drive1_Change();
  Drive2_Change();
  SetSource(lists_->dir[0]);
  view_.SetText2(lists_->dir[1]);
  return true;
}

void Form1::Drive1_Select(int row) {
  if (running_ || row < 0 || row >= static_cast<int>(lists_->letters.size())) return;
  lists_->drive[0] = lists_->letters[row];
  Drive1_Change();
}

void Form1::Drive2_Select(int row) {
  if (running_ || row < 0 || row >= static_cast<int>(lists_->letters.size())) return;
  lists_->drive[1] = lists_->letters[row];
  Drive2_Change();
}

void Form1::Dir1_Open(int row) {
  if (running_ || row < 0 || row >= static_cast<int>(lists_->dirPaths[0].size())) return;
  bool changed = false;
  if (lists_->OpenFolder(Side::kSource, lists_->dirPaths[0][row], changed) && changed) {
    Dir1_Change();
  }
}

void Form1::Dir2_Open(int row) {
  if (running_ || row < 0 || row >= static_cast<int>(lists_->dirPaths[1].size())) return;
  bool changed = false;
  if (lists_->OpenFolder(Side::kDestination, lists_->dirPaths[1][row], changed) && changed) {
    Dir2_Change();
  }
}

void Form1::File1_Select(int row) {
  if (running_) return;
  lists_->fileRow = row >= 0 && row < static_cast<int>(lists_->files.size()) ? row : -1;
  File1_Click();
}

// A drive that cannot be read puts the list back on the drive it showed last, the folder list
// unchanged, without a word.
bool Form1::Lists::ChangeDrive(Side side) {
  const int i = Index(side);
  const char16_t letter = drive[i];
  bool changed = false;
  bool ok = letter != 0 && DriveReady(env, letter);
  if (ok) {
    ok = OpenFolder(side, CurrentFolderOf(letter), changed) ||
         OpenFolder(side, RootOf(letter), changed);
  }
  if (!ok) {
    if (lastGood[i] != 0) drive[i] = lastGood[i];
    ShowDrives(side);
    return false;
  }
  lastGood[i] = letter;
  currentDrive = letter;
  return changed;
}

void Form1::Drive1_Change() {
  if (lists_->ChangeDrive(Side::kSource)) Dir1_Change();
}

void Form1::Drive2_Change() {
  if (lists_->ChangeDrive(Side::kDestination)) Dir2_Change();
}

void Form1::Dir1_Change() {
  lists_->pattern = kSourcePattern;
  lists_->FillFiles(lists_->dir[0]);
  SetSource(lists_->dir[0]);
  lists_->MakeCurrent(lists_->dir[0]);
}

void Form1::Dir2_Change() {
  view_.SetText2(lists_->dir[1]);
  lists_->MakeCurrent(lists_->dir[1]);
}

void Form1::File1_Click() {
  const Lists& l = *lists_;
  if (l.fileRow < 0) return;
  SetSource(JoinPath(l.dir[0], l.files[l.fileRow]));
}

void Form1::Picture1_MouseMove() {
  if (!app_.completionShown) return;
  view_.SetStatus(Text());
  app_.completionShown = false;
}

char16_t Form1::Drive1Letter() const {
  return lists_->drive[0];
}

char16_t Form1::Drive2Letter() const {
  return lists_->drive[1];
}

const Text& Form1::Dir1Path() const {
  return lists_->dir[0];
}

const Text& Form1::Dir2Path() const {
  return lists_->dir[1];
}

const Text& Form1::File1Folder() const {
  return lists_->fileFolder;
}

}  // namespace ostra
