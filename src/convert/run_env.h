// What every step of one conversion run can reach: the reference folder and the window.
#pragma once

#include <memory>

#include "base/codec.h"
#include "base/drive_path.h"
#include "convert/warnings.h"
#include "env/env.h"
#include "formats/reference_folder.h"

namespace ostra {

struct RunEnv {
  Env* files = nullptr;  // every file the run reads or writes
  Text patdatFolder;     // the reference folder, ending with "\"
  WarningSink* ui = nullptr;
  // Where PATADD.txt would have gone when the program's folder could not take it; empty when it
  // was made or not needed.
  mutable Text markerNotWritten;
  ReferenceFolder* tables = nullptr;  // the reference folder's tables, read once per run

  Env& Files() const { return *files; }
  ReferenceFolder& Tables() const { return *tables; }
  // A warning after which the run goes on.
  void Warn(const Text& text) const;
  // The words for an error that a warning passes on.
  Text Worded(const std::exception& e) const;
  // Path of a reference table: the file `fileName` in patdatFolder.
  Text Table(const Text& fileName) const { return DrivePath(patdatFolder).Join(fileName); }
};

}  // namespace ostra
