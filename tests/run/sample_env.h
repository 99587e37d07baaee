// The bundled sample in memory, for whole conversions without a disk.
#pragma once

#include <functional>
#include <string>

#include "env/memory_env.h"
#include "support/test_support.h"

namespace ostra {

// The sample data set and reference folder on drive W:, the program in W:\BIN.
inline void PutSample(MemoryEnv& env,
                      const std::function<std::string(const std::string&)>& dataSet = {}) {
  env.AddFolder(u"W:\\BIN");
  env.SetProgramFolder(u"W:\\BIN");
  env.AddFolder(u"W:\\OUT");
  for (const auto& e : test::fs::directory_iterator(test::ExamplesDir())) {
    const Text name = FromUtf8(e.path().filename().string());
    if (e.path().extension() != ".GDF") continue;
    const std::string bytes = test::ReadBytes(e.path());
    env.SetFile(u"W:\\GEO\\" + name, dataSet ? dataSet(bytes) : bytes);
  }
  for (const auto& e : test::fs::directory_iterator(test::ExamplesDir() / "PATDAT")) {
    env.SetFile(u"W:\\PATDAT\\" + FromUtf8(e.path().filename().string()),
                test::ReadBytes(e.path()));
  }
}

}  // namespace ostra
