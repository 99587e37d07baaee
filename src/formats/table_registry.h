// The reference tables of PATDAT that the converter knows: each one's file name, the layout of
// its lines, how many rows a run takes and whether a run extends it. Every layer names a table
// through this list.
#pragma once

#include <array>
#include <cstddef>

#include "base/codec.h"

namespace ostra {

// The fields of a table's lines: the code is field 0.
struct TableLayout {
  size_t fields;     // fields per line
  size_t nameField;  // the field that holds the name
};
inline constexpr TableLayout kCodeNameLayout{2, 1};
inline constexpr TableLayout kCodeUnusedNameLayout{3, 2};  // the second field is not used
inline constexpr TableLayout kCodeNameExtraLayout{3, 1};   // a third field after the name
// Code, name and four attributes that are only copied.
inline constexpr TableLayout kDictionaryLayout{6, 1};

struct TableInfo {
  const char16_t* name;  // the file name in the reference folder
  TableLayout layout;
  size_t rowLimit;    // rows a run takes at most (0: no limit)
  bool extended;      // a run registers new names in it
  bool createdEmpty;  // a run creates it empty when the folder holds none
};

inline constexpr TableInfo kTableKishitu{u"KISHITU.TXT", kDictionaryLayout, 0, true, true};
inline constexpr TableInfo kTableXkishitu{u"XKISHITU.TXT", kDictionaryLayout, 0, true, false};
inline constexpr TableInfo kTableL13{u"L13.TXT", kCodeNameLayout, 0, true, false};
inline constexpr TableInfo kTableL14{u"L14.TXT", kCodeNameLayout, 0, true, false};
inline constexpr TableInfo kTableL15{u"L15.TXT", kCodeNameLayout, 0, true, false};
inline constexpr TableInfo kTableL16{u"L16.TXT", kCodeNameLayout, 0, true, false};
inline constexpr TableInfo kTableL17{u"L17.TXT", kCodeUnusedNameLayout, 0, true, false};
inline constexpr TableInfo kTableL1{u"L1.TXT", kCodeNameLayout, 0, false, true};
inline constexpr TableInfo kTableL2{u"L2.TXT", kCodeNameLayout, 0, false, true};
inline constexpr TableInfo kTableL3{u"L3.TXT", kCodeNameLayout, 0, false, true};
inline constexpr TableInfo kTableL4{u"L4.TXT", kCodeNameLayout, 50, false, false};
inline constexpr TableInfo kTableL8{u"L8.TXT", kCodeNameExtraLayout, 0, false, false};
inline constexpr TableInfo kTableL10{u"L10.TXT", kCodeNameLayout, 40, false, false};

// Every table, in the order the report lists them.
inline constexpr std::array<const TableInfo*, 13> kReferenceTables = {
    &kTableKishitu, &kTableXkishitu, &kTableL13, &kTableL14, &kTableL15, &kTableL16, &kTableL17,
    &kTableL1,      &kTableL2,       &kTableL3,  &kTableL4,  &kTableL8,  &kTableL10};

// The class tables of record fields 4 to 8 (R31.TXT to R35.TXT), slot 0 unused.
inline constexpr std::array<const TableInfo*, 6> kClassTables = {
    nullptr, &kTableL13, &kTableL14, &kTableL15, &kTableL16, &kTableL17};

// The table of that file name (any letter case); null for none.
const TableInfo* FindTable(const Text& name);

// The names of the tables that `keep` selects, in the order of kReferenceTables.
template <size_t N, typename Keep>
constexpr std::array<const char16_t*, N> TableNames(Keep keep) {
  std::array<const char16_t*, N> names{};
  size_t n = 0;
  for (const TableInfo* table : kReferenceTables) {
    if (keep(*table)) names[n++] = table->name;
  }
  return names;
}
template <typename Keep>
constexpr size_t CountTables(Keep keep) {
  size_t n = 0;
  for (const TableInfo* table : kReferenceTables) n += keep(*table) ? 1 : 0;
  return n;
}

inline constexpr auto kIsExtended = [](const TableInfo& t) { return t.extended; };
inline constexpr auto kIsReadOnly = [](const TableInfo& t) { return !t.extended; };
inline constexpr auto kMayChange = [](const TableInfo& t) { return t.extended || t.createdEmpty; };

// The tables a run extends (or writes anew), and those it only reads (or creates empty).
inline constexpr auto kWrittenTables = TableNames<CountTables(kIsExtended)>(kIsExtended);
inline constexpr auto kReadTables = TableNames<CountTables(kIsReadOnly)>(kIsReadOnly);
// Reference tables a run may create or extend; the report lists the lines each one gains.
inline constexpr auto kWatchedTables = TableNames<CountTables(kMayChange)>(kMayChange);

}  // namespace ostra
