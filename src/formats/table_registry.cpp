#include "formats/table_registry.h"

#include "base/sjis.h"

namespace ostra {

const TableInfo* FindTable(const Text& name) {
  const Text wanted = UpperAscii(name);
  for (const TableInfo* table : kReferenceTables) {
    if (UpperAscii(table->name) == wanted) return table;
  }
  return nullptr;
}

}  // namespace ostra
