// The run report as JSON for scripts (schema 1, described in docs/report-json.md).
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "run/report.h"

namespace ostra {

using Json = nlohmann::ordered_json;

inline constexpr int kReportSchema = 1;

struct JsonContext {
  std::string program;  // "ostraconv-cli"
  std::string version;
  std::string commit;
  // The host form of a drive-form path (UTF-8); empty when it has none.
  std::function<std::string(const Text&)> hostPath;
};

// The program object that heads every report.
Json ProgramJson(const JsonContext& context);
// One run's report, without the schema and program members.
Json RunJson(const RunReport& report, const JsonContext& context);
// A whole report file of one run.
std::string ReportJson(const RunReport& report, const JsonContext& context);

}  // namespace ostra
