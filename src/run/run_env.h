// What every step of one conversion run can reach: the reference folder and the window.
#pragma once

#include "platform/codec.h"
#include "platform/ui_port.h"

namespace ostra {

struct RunEnv {
  Text patdatFolder;  // the reference folder, ending with "\"
  UiPort* ui = nullptr;
  // Set once the run has warned that PATADD.txt cannot be created, so it warns only once.
  mutable bool markerWarned = false;

  // A warning after which the run goes on.
  void Warn(const Text& text) const;
  // Path of a reference table: patdatFolder followed by the file name.
  Text Table(const Text& fileName) const { return patdatFolder + fileName; }
};

}  // namespace ostra
