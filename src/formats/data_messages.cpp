#include "formats/data_messages.h"

#include "base/errors.h"
#include "base/numbers.h"

namespace ostra {

namespace {

Text InFile(const Text& path, const TextPlace& at) {
  return u"ファイル \"" + path + u"\" の " + PlaceText(at) + u"の";
}

Text N(long n) {
  return IntText(n);
}

}  // namespace

Text PlaceText(const TextPlace& at) {
  return N(at.line) + u" 行目 " + N(at.column) + u" 文字目";
}

Text MsgNotANumber(const Text& path, const TextPlace& at, const Text& what, const Text& value) {
  return InFile(path, at) + what + u"「" + value + u"」が数値ではありません。変換できません。";
}

Text MsgBadCount(const Text& path, const TextPlace& at, const Text& what, const Text& value) {
  return InFile(path, at) + what + u"「" + value +
         u"」が 0 から 32767 までの整数ではありません。変換できません。";
}

Text MsgTooManyFields(const Text& path, const TextPlace& at, const Text& what, const Text& value,
                      int limit) {
  return InFile(path, at) + what + u"「" + value + u"」が上限 " + N(limit) +
         u" を超えています。変換できません。";
}

Text MsgPastEnd(const PastEndFacts& f) {
  Text m = u"ファイル \"" + f.path + u"\" のデータが途中で終わっています。ファイルは " +
           N(f.end.line) + u" 行目で終わっていて、";
  if (f.inBlock) {
    const Text noun = f.items ? u"ヘッダー項目" : u"レコード";
    const Text unit = f.items ? u"個" : u"件";
    const int complete = f.items ? f.field - 1 : f.record - 1;
    Text missing;
    if (f.items) {
      missing = noun + u" " + N(f.field) + u" 個目（全 " + N(f.records) + u" 個）";
    } else {
      if (f.recordStart) missing = N(f.recordStart->line) + u" 行目から始まる";
      missing += noun + u" " + N(f.record) + u" 件目（全 " + N(f.records) + u" 件）の " +
                 N(f.field) + u" 項目目";
    }
    m += missing + u"がありません。";
    if (f.countAt) {
      m += PlaceText(*f.countAt) + u"の" + f.countWhat + u"「" + N(f.records) + u"」に対して、" +
           u"完全にそろっている" + noun + u"は " + N(complete) + u" " + unit + u"です。" +
           f.countWhat + u"とデータのどちらが誤っているか確かめてください。";
    } else {
      m += f.countWhat + u"は常に " + N(f.records) + u" " + unit + u"ですが、完全にそろっている" +
           noun + u"は " + N(complete) + u" " + unit + u"です。";
    }
  } else if (!f.wanted.empty()) {
    m += f.wanted + u"がありません。";
  } else {
    m += u"次の値がありません。";
  }
  if (f.unclosedQuote) {
    m += PlaceText(*f.unclosedQuote) +
         u"で始まる二重引用符「\"」が閉じていないため、そこからファイルの終わりまでが 1 つの値"
         u"として読まれました。";
  }
  return m + FileError::DescriptionOf(FileError::kInputPastEnd);
}

}  // namespace ostra
