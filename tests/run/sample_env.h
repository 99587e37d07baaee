// The bundled sample in memory, for whole conversions without a disk.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>

#include "base/text_lines.h"
#include "env/memory_env.h"
#include "formats/section_file.h"
#include "recording_observer.h"
#include "run/convert.h"
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

inline constexpr const char16_t* kSampleSource = u"W:\\GEO\\MDT0001.GDF";
inline constexpr const char16_t* kSampleDestination = u"W:\\OUT\\P001\\SITE\\B-1";

// A conversion of the sample put there by PutSample into `destination`, with the reference
// folder W:\PATDAT, without waiting for a lock.
inline ConversionRequest SampleRequest(const Text& destination = kSampleDestination) {
  ConversionRequest request;
  request.source = kSampleSource;
  request.destination = destination;
  request.referenceFolder = u"W:\\PATDAT\\";
  request.lockWait = std::chrono::milliseconds(0);
  return request;
}

// Converts the sample put there by PutSample.
inline RunReport ConvertSample(Env& env) {
  test::RecordingObserver observer;
  return observer.Run(SampleRequest(), env);
}

// Fields per line of each table a conversion extends.
inline const std::vector<std::pair<const char16_t*, int>> kExtendedTables = {
    {u"KISHITU.TXT", 6}, {u"XKISHITU.TXT", 6}, {u"L13.TXT", 2}, {u"L14.TXT", 2},
    {u"L15.TXT", 2},     {u"L16.TXT", 2},      {u"L17.TXT", 3}};

// Every line of the extended tables is one whole entry, and the table ends with a line end.
inline ::testing::AssertionResult TablesAreWhole(MemoryEnv& env) {
  for (const auto& [name, fields] : kExtendedTables) {
    const std::string bytes = env.ReadFile(Text(u"W:\\PATDAT\\") + name);
    if (!bytes.empty() && bytes.size() >= 2 && bytes.substr(bytes.size() - 2) != "\r\n") {
      return ::testing::AssertionFailure() << test::U8(name) << " ends inside a line";
    }
    for (const Text& line : SplitLines(DecodeCp932(bytes))) {
      FieldReader reader(line, name);
      int count = 0;
      while (!reader.AtEnd()) {
        reader.ReadText();
        ++count;
      }
      if (count != fields) {
        return ::testing::AssertionFailure()
               << test::U8(name) << " holds a broken line: " << test::U8(line);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// The entries of the extended tables as a reader sees them.
inline std::map<Text, std::vector<Text>> TablesOf(MemoryEnv& env) {
  std::map<Text, std::vector<Text>> tables;
  for (const auto& [name, fields] : kExtendedTables) {
    FieldReader reader(DecodeCp932(env.ReadFile(Text(u"W:\\PATDAT\\") + name)), name);
    while (!reader.AtEnd()) tables[name].push_back(reader.ReadText());
  }
  return tables;
}

}  // namespace ostra
