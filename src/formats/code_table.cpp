#include "formats/code_table.h"

#include <string>

#include "base/errors.h"
#include "base/numbers.h"
#include "formats/section_file.h"

namespace ostra {

Text MsgMissingTable(const Text& path) {
  return u"参照ファイル \"" + path + u"\" がありません。変換できません。";
}

CodeTable ReadCodeTable(FieldReader& reader, size_t maxRows) {
  const Text& path = reader.Path();
  CodeTable table;
  while (!reader.AtEnd()) {
    CodeRow row;
    row.code = reader.ReadText();
    if (reader.AtEnd()) {
      throw RunError(u"参照ファイル \"" + path +
                         u"\" の最後のレコードに 2 番目の項目がありません。変換できません。",
                     path, ErrorKind::kReferenceFolder);
    }
    row.key = reader.ReadText();
    if (table.size() >= maxRows) {
      throw RunError(u"参照ファイル \"" + path + u"\" の行数が上限 " +
                         IntText(static_cast<long long>(maxRows)) +
                         u" を超えています。変換できません。",
                     path, ErrorKind::kReferenceFolder);
    }
    table.push_back(std::move(row));
  }
  return table;
}

}  // namespace ostra
