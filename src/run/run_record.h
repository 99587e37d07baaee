// What a run changed: the lines the reference tables gained, and files of the output family in
// the destination that the run did not write.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/codec.h"
#include "env/env.h"
#include "formats/table_registry.h"
#include "run/report.h"

namespace ostra {

// Every file name the target system imports from a boring's folder.
inline constexpr const char16_t* kOutputFamily[] = {
    u"CNT.TXT", u"Titl01.txt", u"Titl02.txt", u"X1.TXT",  u"X3.TXT", u"R31.TXT", u"R32.TXT",
    u"R33.TXT", u"R34.TXT",    u"R35.TXT",    u"X11.TXT", u"N8.TXT", u"G71.TXT", u"G73.TXT",
    u"G81.TXT", u"N9.TXT",     u"X12.TXT",    u"X5.TXT",  u"X7.txt", u"N6.TMP",  u"R41.TXT"};

// A table as it stands (nothing when the table does not exist): its bytes, so that a table the
// run left as it was costs one comparison, not a decoding and a diff of every line.
struct TableSnapshot {
  bool exists = false;
  std::string bytes;
};

TableSnapshot Snapshot(Env& env, const Text& path);

// The lines of `after` that `before` does not hold (counting repeats), in file order.
std::vector<Text> LinesGained(const std::vector<Text>& before, const std::vector<Text>& after);

// The tables among `before` (path and snapshot, in report order) that the run created or extended.
std::vector<RunReport::TableChange> TableChanges(
    Env& env, const std::vector<std::pair<Text, TableSnapshot>>& before);

// Files of the output family in the folder `outDir` (ending with "\") that are not among
// `written`: left by an earlier conversion, the target system would import them with this one.
std::vector<Text> Leftovers(Env& env, const Text& outDir,
                            const std::vector<RunReport::Output>& written);

// The warning that names the leftovers.
Text LeftoversWarning(const std::vector<Text>& leftovers);

}  // namespace ostra
