#include "cli/report_json.h"

#include "formats/section_file.h"
#include "formats/table_registry.h"

namespace ostra {

namespace {

const char* StatusKey(RunReport::SectionStatus status) {
  switch (status) {
    case RunReport::SectionStatus::kConverted:
      return "converted";
    case RunReport::SectionStatus::kMissing:
      return "missing";
    case RunReport::SectionStatus::kEmptySkipped:
      return "empty-skipped";
  }
  return "";
}

// A path in both forms; null for no path.
Json PathJson(const Text& drive, const JsonContext& context) {
  if (drive.empty()) return nullptr;
  Json j;
  j["drive"] = ToUtf8(drive);
  const std::string host = context.hostPath ? context.hostPath(drive) : std::string();
  j["host"] = host.empty() ? Json(nullptr) : Json(host);
  return j;
}

// The folder of the destination's files, ending with "\".
Text FolderPath(const Text& folder) {
  return !folder.empty() && folder.back() == u'\\' ? folder : folder + u"\\";
}

// A table line split into its fields: the code first, the name where the table's layout puts it
// (after an unused field in L17.TXT), the rest as attributes.
Json TableLineJson(const Text& file, const Text& line) {
  const std::vector<Text> fields = LineFields(line);
  const TableInfo* table = FindTable(file);
  const size_t nameAt = table ? table->layout.nameField : kCodeNameLayout.nameField;
  Json j;
  j["line"] = ToUtf8(line);
  j["code"] = fields.empty() ? "" : ToUtf8(fields[0]);
  j["name"] = fields.size() > nameAt ? ToUtf8(fields[nameAt]) : "";
  Json attributes = Json::array();
  for (size_t i = nameAt + 1; i < fields.size(); ++i) attributes.push_back(ToUtf8(fields[i]));
  j["attributes"] = attributes;
  return j;
}

Json ErrorJson(const RunReport::Error& e, const JsonContext& context) {
  Json j;
  j["message"] = ToUtf8(e.message);
  j["kind"] = ErrorKindKey(e.kind);
  j["file"] = PathJson(e.file, context);
  auto place = [&](const char* key, long value) {
    j[key] = value > 0 ? Json(value) : Json(nullptr);
  };
  place("line", e.line);
  place("column", e.column);
  place("record", e.record);
  place("recordCount", e.recordCount);
  place("field", e.field);
  j["value"] = e.value.empty() && e.line == 0 ? Json(nullptr) : Json(ToUtf8(e.value));
  return j;
}

}  // namespace

Json ProgramJson(const JsonContext& context) {
  return Json{{"name", context.program}, {"version", context.version}, {"commit", context.commit}};
}

Json RunJson(const RunReport& r, const JsonContext& context) {
  Json j;
  j["completed"] = r.completed;
  j["dryRun"] = r.dryRun;
  j["source"] = PathJson(r.source, context);
  j["destination"] = PathJson(r.destination, context);
  j["referenceFolder"] = PathJson(r.patdatFolder, context);
  j["error"] = r.error ? ErrorJson(*r.error, context) : Json(nullptr);
  j["encoding"] = r.encoding ? Json{{"name", EncodingKey(r.encoding->utf8)},
                                    {"basis", EncodingBasisKey(r.encoding->basis)}}
                             : Json(nullptr);
  // Only for a boring exchange XML source: what the reader made of it.
  if (r.bed) {
    Json unknown = Json::array();
    for (const Text& code : r.bed->unknownCodes) unknown.push_back(ToUtf8(code));
    j["bed"] = {{"version", ToUtf8(r.bed->version)},
                {"encoding", ToUtf8(r.bed->encoding)},
                {"layerRecords", r.bed->layerRecords},
                {"layerBoundaries", r.bed->layerBoundaries},
                {"unknownCodes", unknown}};
  }
  Json sections = Json::array();
  for (const RunReport::Section& s : r.sections) {
    sections.push_back({{"section", ToUtf8(s.section)},
                        {"file", PathJson(s.file, context)},
                        {"status", StatusKey(s.status)},
                        {"utf8", s.utf8}});
  }
  j["sections"] = sections;
  Json outputs = Json::array();
  for (const RunReport::Output& o : r.outputs) {
    outputs.push_back({{"file", ToUtf8(o.file)},
                       {"path", PathJson(FolderPath(r.destination) + o.file, context)},
                       {"lines", o.lines},
                       {"bytes", o.bytes}});
  }
  j["outputs"] = outputs;
  Json tables = Json::array();
  for (const RunReport::TableChange& c : r.tables) {
    Json added = Json::array();
    for (const Text& line : c.added) added.push_back(TableLineJson(c.file, line));
    tables.push_back({{"file", ToUtf8(c.file)},
                      {"path", PathJson(FolderPath(r.patdatFolder) + c.file, context)},
                      {"created", c.created},
                      {"added", added}});
  }
  j["tables"] = tables;
  Json warnings = Json::array();
  for (const Text& w : r.warnings) warnings.push_back({{"message", ToUtf8(w)}});
  j["warnings"] = warnings;
  if (!r.markerNotWritten.empty()) j["markerNotWritten"] = PathJson(r.markerNotWritten, context);
  return j;
}

std::string ReportJson(const RunReport& report, const JsonContext& context) {
  Json j;
  j["schema"] = kReportSchema;
  j["program"] = ProgramJson(context);
  j.update(RunJson(report, context));
  return j.dump(2) + "\n";
}

}  // namespace ostra
