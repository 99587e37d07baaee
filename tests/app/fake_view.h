// A window that keeps what the presenter tells it, for the presenter's tests: the texts, the
// lists' rows, the message boxes (answered from a queue, Yes when it is empty) and the added
// windows.
#pragma once

#include <deque>
#include <functional>
#include <map>

#include "app/form_view.h"

namespace ostra::test {

class FakeView : public FormView {
 public:
  Text Text1() const override { return text1; }
  void SetText1(const Text& text) override { text1 = text; }
  Text Text2() const override { return text2; }
  void SetText2(const Text& text) override { text2 = text; }
  void SetStatus(const Text& text) override { status = text; }
  void ShowDrives(Selector list, const std::vector<Text>& lines, int selected) override {
    drives[list] = lines;
    driveRow[list] = selected;
  }
  void ShowFolders(Selector list, const std::vector<FolderRow>& rows, int current) override {
    folders[list] = rows;
    folderRow[list] = current;
  }
  void ShowFiles(const std::vector<Text>& names, int selected) override {
    files = names;
    fileRow = selected;
  }
  bool ShowBox(const MessageBoxRequest& request) override {
    boxes.push_back(request);
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void SetBusy(bool on) override {
    busy = on;
    if (on) ++busyTimes;
  }
  void ProcessEvents() override {
    if (onEvents) onEvents();
  }
  void DropInput() override { ++dropped; }
  void SelectDestination() override { ++destinationSelected; }
  void SetReportEnabled(bool enabled) override { reportEnabled = enabled; }
  void ShowReport(const Text& text, DataEncoding encoding, bool raise) override {
    if (!raise && !reportOpen) return;
    report = text;
    reportEncoding = encoding;
    reportOpen = true;
  }
  bool ReportOpen() const override { return reportOpen; }
  void ShowPicture(const Text& source, std::shared_ptr<const BoringLogModel> model,
                   bool raise) override {
    if (!raise && !pictureOpen) return;
    pictureSource = source;
    ++pictures;
    picture = std::move(model);
    pictureOpen = true;
  }
  bool PictureOpen() const override { return pictureOpen; }
  void CloseWindow() override { closed = true; }

  // The folder a folder list shows as current: its open rows joined.
  Text FolderShown(Selector list) const {
    Text path;
    for (const FolderRow& row : folders.at(list)) {
      if (!row.open) break;
      path += path.empty() || path.back() == u'\\' ? row.name : u"\\" + row.name;
    }
    return path;
  }
  // The row of a subfolder (not an open level) named `name`, or -1.
  int SubfolderRow(Selector list, const Text& name) const {
    const std::vector<FolderRow>& rows = folders.at(list);
    for (size_t i = 0; i < rows.size(); ++i) {
      if (!rows[i].open && rows[i].name == name) return static_cast<int>(i);
    }
    return -1;
  }
  // The letter a drive list shows as chosen.
  char16_t DriveShown(Selector list) const {
    const int row = driveRow.at(list);
    return row < 0 ? 0 : drives.at(list).at(row).at(0);
  }

  Text text1, text2, status;
  std::map<Selector, std::vector<Text>> drives;
  std::map<Selector, int> driveRow;
  std::map<Selector, std::vector<FolderRow>> folders;
  std::map<Selector, int> folderRow;
  std::vector<Text> files;
  int fileRow = -1;
  std::vector<MessageBoxRequest> boxes;
  std::deque<bool> answers;
  bool busy = false;
  int busyTimes = 0;
  int dropped = 0;
  int destinationSelected = 0;
  bool reportEnabled = false;
  Text report;
  DataEncoding reportEncoding = DataEncoding::kAuto;
  bool reportOpen = false;
  Text pictureSource;
  int pictures = 0;  // pictures drawn while the window was open
  std::shared_ptr<const BoringLogModel> picture;
  bool pictureOpen = false;
  bool closed = false;
  std::function<void()> onEvents;  // runs in each pass of events
};

}  // namespace ostra::test
