// A temporary reference folder (T:\PATDAT) and destination folder (T:\OUT) for the strata
// converters, with helpers to write tables and read what the converters wrote.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "convert/run_env.h"
#include "env/files.h"
#include "support/test_support.h"

namespace ostra::test {

class StrataTest : public ::testing::Test {
 protected:
  StrataTest() {
    fs::create_directories(drive_.Host("PATDAT"));
    fs::create_directories(drive_.Host("OUT"));
    env_.patdatFolder = drive_.Drive("PATDAT\\");
    env_.ui = &ui_;
    env_.files = &drive_.Files();
    NewRun();
  }

  // Tables change by hand only between runs: the next call starts a new run.
  void Table(const std::string& name, const std::vector<std::string>& lines) {
    WriteSjisLines(drive_.Host("PATDAT/" + name), lines);
    NewRun();
  }
  void NewRun() {
    tables_ = std::make_unique<ReferenceFolder>(drive_.Files(), env_.patdatFolder);
    env_.tables = tables_.get();
  }
  std::vector<std::string> TableLines(const std::string& name) {
    return ReadSjisLines(drive_.Host("PATDAT/" + name));
  }
  bool TableExists(const std::string& name) { return fs::exists(drive_.Host("PATDAT/" + name)); }
  Text Out(const std::string& name) { return drive_.Drive("OUT\\" + name); }
  std::vector<std::string> OutLines(const std::string& name) {
    return ReadSjisLines(drive_.Host("OUT/" + name));
  }

  TempDrive drive_;
  WarningLog ui_;
  RunEnv env_;
  std::unique_ptr<ReferenceFolder> tables_;
};

}  // namespace ostra::test
