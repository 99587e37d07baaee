// The fixture of the boring-log picture's tests: output files written into a temporary drive,
// the SVG parsed back by a small XML reader that insists on well-formed input (xml_reader.h).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "env/drives.h"
#include "preview/boring_log_svg.h"
#include "preview/xml_reader.h"
#include "support/test_support.h"

namespace ostra {

// The fixture: a destination folder T:\OUT on a temporary drive.

class BoringLogSvgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_ = std::make_unique<test::TempDrive>(u'T');
    std::filesystem::create_directories(drive_->Host("OUT"));
  }

  void Put(const std::string& name, const std::vector<std::string>& lines) {
    test::WriteSjisLines(drive_->Host("OUT/" + name), lines);
  }

  // Renders T:\OUT and parses the result; fails the test when it is not well-formed.
  std::unique_ptr<test::Element> Render(const Text& folder = u"T:\\OUT", double scale = 100) {
    svg_ = RenderBoringLogSvg(drive_->Files(), folder, scale);
    test::XmlReader reader(svg_);
    auto root = reader.Parse();
    EXPECT_TRUE(root) << reader.Error();
    if (root) {
      EXPECT_EQ(root->name, "svg");
    }
    return root;
  }

  void PutThreeLayers() {
    Put("X1.TXT", {"  1,   1.20,0002,表土", "  2,   4.50,5001,砂岩", "  3,   7.80,0002,表土"});
  }

  std::unique_ptr<test::TempDrive> drive_;
  std::string svg_;
};

}  // namespace ostra
