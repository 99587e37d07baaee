// The X11 converter: codes the class key of a second-block MDT record through L10Table.

#include "base/numbers.h"
#include "convert/strata.h"
#include "convert/strata_internal.h"

namespace ostra {

void ConvertX11Record(OutputFile& x11, const RecordFields& fields, const CodeTable& l10Table) {
  std::int32_t code = 0;
  Text key;
  for (const CodeRow& row : l10Table) {
    if (row.key == fields[3]) {
      code = IntOrZero(row.code);
      key = row.key;
      break;
    }
  }
  x11.NumberedLine(strata::LinePrefix(x11.Number(), fields[2]) + RightField(NumText(code), 3) +
                   u"," + key + u"," + Text(20, u' '));
}

}  // namespace ostra
