// A window on a temporary drive T: for the window tests, with every message box answered by a
// hook so that no test waits on a modal dialog.
#pragma once

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

#include "gui/form1_window.h"
#include "gui/qt_text.h"
#include "support/test_support.h"

namespace ostra::test {

class WindowFixture {
 public:
  WindowFixture() : drive_(std::make_unique<TempDrive>(u'T')) {
    drive_->Files().Drives().Remove(u'Z');  // the test's own drives only
  }
  ~WindowFixture() { form_.reset(); }

  TempDrive& Drive() { return *drive_; }
  Form1Window& Form() { return *form_; }

  // Creates the window and runs its start-up; true when it is shown.
  bool Load() {
    form_ = std::make_unique<Form1Window>(drive_->Files());
    form_->SetMessageBoxHook([this](const MessageBoxRequest& box) {
      boxes.push_back(box);
      if (onBox) onBox();
      return answer;
    });
    if (!form_->Form_Load()) return false;
    form_->show();
    return QTest::qWaitForWindowExposed(form_.get());
  }

  template <typename T>
  T* Find(const char* name) {
    T* w = form_->findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("no control %s", name);
    return w;
  }
  // Chooses the drive of `letter` in a drive list as the user does.
  void ChooseDrive(const char* driveList, char16_t letter) {
    auto* list = Find<QComboBox>(driveList);
    list->setCurrentIndex(list->findText(ToQString(Text(1, letter)) + u':', Qt::MatchStartsWith));
  }
  Text TextOf(const char* name) { return FromQString(Find<QLineEdit>(name)->text()); }
  Text Status() { return FromQString(Find<QLabel>("Label3")->text()); }

  // The bundled sample in T:\GEO and its reference folder in T:\PATDAT; the window loaded with
  // Text1 naming the sample and Text2 the destination `dest`.
  bool LoadSample(const QString& dest) {
    CopyExamplePatdat(drive_->Host("PATDAT"));
    fs::create_directories(drive_->Host("GEO"));
    for (const char* section : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
      const std::string name = std::string(section) + "0001.GDF";
      fs::copy_file(ExamplesDir() / name, drive_->Host("GEO/" + name));
    }
    // A destination of the four levels CNT.TXT names the boring by.
    fs::create_directories(drive_->Host("OUT/P001/SITE/B-1"));
    // New dictionary entries are marked with PATADD.txt beside the program.
    drive_->Files().Drives().Set(u'P', QCoreApplication::applicationDirPath().toStdString());
    if (!Load()) return false;
    Find<QLineEdit>("Text1")->setText(QStringLiteral("T:\\GEO\\MDT0001.GDF"));
    Find<QLineEdit>("Text2")->setText(dest);
    return true;
  }

  std::vector<MessageBoxRequest> boxes;
  bool answer = true;
  std::function<void()> onBox;  // runs inside the next message box

 private:
  std::unique_ptr<TempDrive> drive_;
  std::unique_ptr<Form1Window> form_;
};

}  // namespace ostra::test
