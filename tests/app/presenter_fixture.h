// The presenter's tests' window over a temporary drive with the bundled sample.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/form1.h"
#include "fake_view.h"
#include "support/test_support.h"

namespace ostra {

class PresenterTest : public ::testing::Test {
 public:
  PresenterTest() {
    drive_.Share(other_);
    drive_.Files().Drives().Set(u'U', drive_.Host("NO-SUCH-MEDIUM"));  // a drive without a medium
  }

  // The sample in T:\GEO with its reference folder T:\PATDAT, T:\OUT\P001\SITE\B-1, and a few
  // more names.
  void PutSample() {
    test::CopyExamplePatdat(drive_.Host("PATDAT"));
    std::filesystem::create_directories(drive_.Host("GEO"));
    for (const char* section : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
      const std::string name = std::string(section) + "0001.GDF";
      std::filesystem::copy_file(test::ExamplesDir() / name, drive_.Host("GEO/" + name));
    }
    // A destination with the four levels CNT.TXT is made of.
    std::filesystem::create_directories(drive_.Host("OUT/P001/SITE/B-1"));
    for (const char* name : {"mdt0002.gdf", "BDT0002.GDF", "MDT0003.TXT", "bed0002.xml",
                             "other.xml", "BED0003.GDF", "XBED0005.XML"})
      test::WriteSjis(drive_.Host(name), "x");
    std::filesystem::create_directories(drive_.Host("MDT0004.GDF"));  // a folder, not a file
    test::WriteSjis(other_.Host("MDT0009.GDF"), "x");
  }
  // The window started in the working folder T:\GEO.
  bool Load() {
    form_ = std::make_unique<Form1>(drive_.Files(), view_, drive_.Host("GEO"));
    return form_->Form_Load();
  }
  // The user chooses a drive: the list shows it, and the presenter hears of it.
  void ChooseDrive(Selector list, char16_t letter) {
    view_.driveRow[list] = DriveRow(letter);
    if (list == Selector::kDrive1) {
      form_->Drive1_Select(DriveRow(letter));
    } else {
      form_->Drive2_Select(DriveRow(letter));
    }
  }
  int DriveRow(char16_t letter) const {
    const std::vector<Text>& lines = view_.drives.at(Selector::kDrive1);
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].front() == letter) return static_cast<int>(i);
    }
    return -1;
  }
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(drive_.Root())) {
      files[e.path().string()] = e.is_regular_file() ? test::ReadBytes(e.path()) : "<folder>";
    }
    return files;
  }
  void ChooseSample(const Text& destination) {
    view_.SetText1(u"T:\\GEO\\MDT0001.GDF");
    view_.SetText2(destination);
  }

  test::TempDrive drive_{u'T'};
  test::TempDrive other_{u'V'};
  test::FakeView view_;
  std::unique_ptr<Form1> form_;
};

}  // namespace ostra
