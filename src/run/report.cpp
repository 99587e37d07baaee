#include "run/report.h"

#include "base/numbers.h"

namespace ostra {

namespace {

Text FileNameOf(const Text& path) {
  size_t slash = path.find_last_of(u"\\:");
  return slash == Text::npos ? path : path.substr(slash + 1);
}

const char16_t* StatusText(RunReport::SectionStatus status) {
  switch (status) {
    case RunReport::SectionStatus::kConverted:
      return u"変換しました";
    case RunReport::SectionStatus::kMissing:
      return u"ファイルがないため省略しました";
    case RunReport::SectionStatus::kEmptySkipped:
      return u"空のファイルのため省略しました";
  }
  return u"";
}

// What the reader made of a boring exchange XML source.
Text BedLines(const RunReport::BedSummary& bed) {
  const Text encoding = bed.encoding == u"utf-8"    ? u"UTF-8"
                        : bed.encoding == u"utf-16" ? u"UTF-16"
                                                    : u"Shift-JIS（コードページ 932）";
  Text t = u"ボーリング交換用データ: 版 " + bed.version + u"、文字コード " + encoding + u"\n";
  t += u"層の記録: " + IntText(bed.layerRecords) + u" 件（XML の深度の区切り " +
       IntText(bed.layerBoundaries) + u" か所から）\n";
  if (!bed.unknownCodes.empty()) {
    t += u"コードのまま残した区分:";
    for (const Text& code : bed.unknownCodes) t += u" " + code;
    t += u"\n";
  }
  return t;
}

}  // namespace

Text ReportText(const RunReport& r) {
  Text t;
  t += r.dryRun ? u"変換の試行結果（実際のファイルは変更していません）\n" : u"変換の記録\n";
  t += u"変換元: " + r.source + u"\n";
  t += u"変換先: " + r.destination + u"\n";
  t += u"参照フォルダ: " + r.patdatFolder + u"\n";
  if (r.encoding && (r.encoding->utf8 || r.encoding->basis == EncodingBasis::kChosen)) {
    t += Text(u"データの文字コード: ") +
         (r.encoding->utf8 ? u"UTF-8" : u"Shift-JIS（コードページ 932）") +
         (r.encoding->basis == EncodingBasis::kChosen ? u"（指定）"
                                                      : u"（ファイルの内容から判断）") +
         u"\n";
  }
  if (r.bed) t += BedLines(*r.bed);
  if (!r.completed) {
    t += u"変換は途中で中止されました。\n";
    if (r.error) t += u"理由: " + r.error->message + u"\n";
  }

  t += u"\nセクション:\n";
  for (const RunReport::Section& s : r.sections) {
    const Text status = r.bed && s.status == RunReport::SectionStatus::kMissing
                            ? Text(u"XML にこのデータがないため省略しました")
                            : Text(StatusText(s.status));
    t += u"  " + s.section + u"  " + FileNameOf(s.file) + u"  " + status +
         (s.utf8 ? u"（UTF-8 として読み込み）" : u"") + u"\n";
  }

  t += r.dryRun ? u"\n書き込まれるファイル:\n" : u"\n書き込んだファイル:\n";
  for (const RunReport::Output& o : r.outputs) {
    t += u"  " + o.file + u"  " + IntText(o.lines) + u" 行\n";
  }

  t += r.dryRun ? u"\n参照フォルダに加わる行:\n" : u"\n参照フォルダに加えた行:\n";
  if (r.tables.empty()) t += u"  なし\n";
  for (const RunReport::TableChange& c : r.tables) {
    t += u"  " + c.file + u"  " + IntText(static_cast<long>(c.added.size())) + u" 行追加";
    if (c.created) t += u"（新規作成）";
    t += u"\n";
    for (const Text& line : c.added) t += u"    " + line + u"\n";
  }

  if (!r.warnings.empty()) {
    t += u"\n警告:\n";
    for (const Text& w : r.warnings) t += u"  " + w + u"\n";
  }
  return t;
}

}  // namespace ostra
