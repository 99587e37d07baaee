// What every step of one conversion run can reach: the reference folder and the window.
#pragma once

#include <memory>

#include "base/codec.h"
#include "convert/warnings.h"
#include "env/env.h"
#include "formats/reference_tables.h"

namespace ostra {

struct RunEnv {
  Env* files = nullptr;  // every file the run reads or writes
  Text patdatFolder;     // the reference folder, ending with "\"
  WarningSink* ui = nullptr;
  // Set once the run has warned that PATADD.txt cannot be created, so it warns only once.
  mutable bool markerWarned = false;
  // Reference tables the run extends are read once and kept in memory, coherent with the run's
  // own changes. Off, every lookup reads the table file again (used to check the two agree).
  bool cacheTables = true;
  mutable std::shared_ptr<strata::StrataTables> strataTables;

  Env& Files() const { return *files; }
  // A warning after which the run goes on.
  void Warn(const Text& text) const;
  // Path of a reference table: patdatFolder followed by the file name.
  Text Table(const Text& fileName) const { return patdatFolder + fileName; }
};

}  // namespace ostra
