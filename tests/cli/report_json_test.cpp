// The JSON report splits each line a table gained by that table's layout in the registry.
#include "cli/report_json.h"

#include <gtest/gtest.h>

#include "formats/table_registry.h"

namespace ostra {
namespace {

TEST(ReportJsonTest, EveryTableLineIsSplitByItsTablesLayout) {
  for (const TableInfo* table : kReferenceTables) {
    // Field 0 is the code, the name field holds the name, every other field a value of its own.
    std::vector<Text> fields(table->layout.fields);
    Text line;
    for (size_t i = 0; i < fields.size(); ++i) {
      fields[i] = i == 0                         ? Text(u"12")
                  : i == table->layout.nameField ? Text(u"破砕帯")
                                                 : u"v" + Text(1, static_cast<char16_t>(u'0' + i));
      line += (i == 0 ? u"" : u",") + fields[i];
    }
    RunReport report;
    // The report names a table as the folder spells it: any letter case.
    Text lower = table->name;
    for (char16_t& c : lower)
      c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    for (const Text& file : {Text(table->name), lower}) {
      report.tables.push_back({file, false, {line}});
    }
    const Json j = RunJson(report, JsonContext{});
    for (const Json& change : j["tables"]) {
      const Json& added = change["added"][0];
      EXPECT_EQ(added["code"], "12") << change["file"];
      EXPECT_EQ(added["name"], ToUtf8(u"破砕帯")) << change["file"];
      Json attributes = Json::array();
      for (size_t i = table->layout.nameField + 1; i < fields.size(); ++i) {
        attributes.push_back(ToUtf8(fields[i]));
      }
      EXPECT_EQ(added["attributes"], attributes) << change["file"];
    }
  }
}

}  // namespace
}  // namespace ostra
