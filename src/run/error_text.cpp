#include "run/error_text.h"

#include <vector>

#include "base/numbers.h"
#include "formats/bed_xml.h"
#include "formats/data_messages.h"

namespace ostra {

namespace {

Text N(long n) {
  return IntText(n);
}

// "3 行目 5 文字目"
Text PlaceText(const TextPlace& at) {
  return N(at.line) + u" 行目 " + N(at.column) + u" 文字目";
}

// What was attempted: "開けません", "作成できません" ...
Text ActionText(FileOp op) {
  switch (op) {
    case FileOp::kOpen:
    case FileOp::kLock:
      return u"開けません";
    case FileOp::kRead:
      return u"読み込めません";
    case FileOp::kList:
      return u"読み込めません（フォルダの一覧）";
    case FileOp::kQuery:
      return u"調べられません";
    case FileOp::kCreate:
    case FileOp::kMakeFolder:
      return u"作成できません";
    case FileOp::kWrite:
    case FileOp::kSync:
      return u"書き込めません";
    case FileOp::kRemove:
      return u"削除できません";
    case FileOp::kCopy:
      return u"コピーできません";
    case FileOp::kReplace:
      return u"置き換えられません";
  }
  return u"扱えません";
}

Text ActionText(FileOp op, FileDetail detail) {
  switch (detail) {
    case FileDetail::kNone:
      return ActionText(op);
    case FileDetail::kSymbolicLink:
      return ActionText(op) + u"（シンボリックリンクです）";
    case FileDetail::kFolder:
      return ActionText(op) + u"（フォルダです）";
    case FileDetail::kNotRegular:
      return ActionText(op) + u"（通常のファイルではありません）";
    case FileDetail::kOtherName:
      return ActionText(op) + u"（他の名前があります）";
    case FileDetail::kNameTaken:
      return ActionText(op) + u"（同じ名前があります）";
    case FileDetail::kFolderTaken:
      return ActionText(op) + u"（同じ名前のフォルダがあります）";
    case FileDetail::kTestFault:
      return u"扱えません（試験のための故障）";
    case FileDetail::kTestPowerCut:
      return u"扱えません（試験のための停電）";
  }
  return ActionText(op);
}

Text PastEndMessage(const PastEndFacts& f) {
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
  if (f.quoteOverLineEnd) {
    m += N(f.quoteOverLineEnd->line) +
         u" 行目の二重引用符で始まる項目が行末を越えています。閉じる二重引用符が抜けていないか"
         u"確かめてください。";
  }
  if (f.unclosedQuote) {
    m += PlaceText(*f.unclosedQuote) +
         u"で始まる二重引用符「\"」が閉じていないため、そこからファイルの終わりまでが 1 つの値"
         u"として読まれました。";
  }
  return m + FileErrorDescription(FileError::kInputPastEnd);
}

Text FileMessage(const FileError& e) {
  if (const auto* pastEnd = dynamic_cast<const PastEndError*>(&e)) {
    return PastEndMessage(pastEnd->Facts());
  }
  Text m = u"ファイル \"" + e.Path() + u"\" を" + ActionText(e.Op(), e.Detail()) + u"。" +
           FileErrorDescription(e.Code());
  // A run that cannot take the reference folder's lock does not go on.
  if (e.Kind() == ErrorKind::kLock) m += u"参照フォルダをロックできないため、変換を中止しました。";
  return m;
}

// "「a」、「b」" for the files of one encoding: "\"a\"、\"b\"".
Text Names(const std::vector<Text>& values, size_t from, size_t to) {
  Text t;
  for (size_t i = from; i < to; ++i) t += (t.empty() ? u"\"" : u"、\"") + values[i] + u"\"";
  return t;
}

Text MixedEncodingsMessage(const std::vector<Text>& values) {
  size_t split = 0;
  while (split < values.size() && !values[split].empty()) ++split;
  return u"データのファイルの文字コードがそろっていません。" + Names(values, 0, split) +
         u" は UTF-8、" + Names(values, std::min(split + 1, values.size()), values.size()) +
         u" は Shift-JIS（コードページ 932）で書かれているようです。同じ文字コード"
         u"で保存し直すか、文字コードを指定してください。変換できません。";
}

// What is wrong with an XML file, as the start of a sentence.
Text XmlFaultText(const Text& key) {
  if (key == kXmlFaultEnd) return u"途中でファイルが終わっていて、";
  if (key == kXmlFaultTag) return u"タグの書き方が正しくなく、";
  if (key == kXmlFaultMismatch) return u"終了タグの名前が開始タグと合わず、";
  if (key == kXmlFaultNoRoot) return u"要素が一つもなく、";
  if (key == kXmlFaultRoots) return u"最上位の要素が二つ以上あり、";
  return u"書き方に誤りがあり、";
}

Text ProblemMessage(const ProblemError& e) {
  const std::vector<Text>& v = e.Values();
  auto value = [&](size_t i) { return i < v.size() ? v[i] : Text(); };
  const Text& file = e.File();
  const DataPlace place = e.Place().value_or(DataPlace{});
  const Text inFile =
      u"ファイル \"" + file + u"\" の " + PlaceText(TextPlace{place.line, place.column}) + u"の";
  const Text table = u"参照ファイル \"" + file + u"\" ";
  switch (e.GetProblem()) {
    case Problem::kNotANumber:
      return inFile + value(0) + u"「" + value(1) + u"」が数値ではありません。変換できません。";
    case Problem::kBadCount:
      return inFile + value(0) + u"「" + value(1) +
             u"」が 0 から 32767 までの整数ではありません。変換できません。";
    case Problem::kTooManyFields:
      return inFile + value(0) + u"「" + value(1) + u"」が上限 " + value(2) +
             u" を超えています。変換できません。";
    case Problem::kNotUtf8Byte:
      return inFile + u"バイト " + value(0) +
             u" は UTF-8 の文字になりません（このデータは UTF-8 "
             u"で書かれているものとして読んでいます）。ファイルを一つの文字コードで保存し"
             u"直すか、文字コードを指定してください。変換できません。";
    case Problem::kNotCp932:
      return inFile + u"文字「" + value(0) +
             u"」は Shift-JIS（コードページ 932）にない文字です。変換できません。";
    case Problem::kMixedEncodings:
      return MixedEncodingsMessage(v);
    case Problem::kMissingTable:
      return u"参照ファイル \"" + file + u"\" がありません。変換できません。";
    case Problem::kLastRecordShort:
      return u"参照ファイル \"" + file +
             u"\" の最後のレコードに 2 番目の項目がありません。変換できません。";
    case Problem::kTooManyRows:
      return u"参照ファイル \"" + file + u"\" の行数が上限 " + value(0) +
             u" を超えています。変換できません。";
    case Problem::kTableInUtf8:
      return u"参照ファイル \"" + file +
             u"\" は UTF-8 で保存されています。Shift-JIS（コードページ "
             u"932）で保存し直してください。変換できません。";
    case Problem::kTableEndMark:
      return u"参照ファイル \"" + file + u"\" の " + value(0) +
             u" 行目にファイルの終わりの印（Ctrl-Z）があり、その後にもデータがあります。"
             u"その印を取り除いてから変換してください。";
    case Problem::kTableNotRegular:
      return table +
             u"は通常のファイルではありません（フォルダ、パイプ、デバイスなど）。変換できません。";
    case Problem::kTableIsLink:
      return table +
             u"はシンボリックリンクです。他の場所の表と共有されていると、一つのコードが二つの"
             u"名前に付くおそれがあります。リンクを実際のファイルに置き換えてから変換してください"
             u"。";
    case Problem::kTableHasOtherName:
      return table +
             u"には他の名前（ハードリンク）があります。他の場所の表と共有されていると、一つの"
             u"コードが二つの名前に付くおそれがあります。一つの名前だけのファイルにしてから変換して"
             u"ください。";
    case Problem::kTableReadOnly:
      return table +
             u"は読み取り専用です。変換はこの表に書き加えることがあるため、書き込みを許可してから"
             u"変換してください。";
    case Problem::kNoFreeCode:
      return file + u" の土質名辞書に 4000 未満の空きコードがありません。土質名「" + value(0) +
             u"」を登録できません。";
    case Problem::kFolderInUse:
      return u"参照フォルダ \"" + value(0) +
             u"\" は他の変換で使用中です。しばらくしてからもう一度実行してください。";
    case Problem::kDataIsFolder:
      return u"\"" + file + u"\" はファイルではなくフォルダです。変換できません。";
    case Problem::kDataNotRegular:
      return u"\"" + file +
             u"\" は通常のファイルではありません（パイプやデバイスなど）。変換できません。";
    case Problem::kXmlNotWellFormed:
      return inFile + XmlFaultText(value(0)) +
             u"XML として正しく書かれていないため、読めません。変換できません。";
    case Problem::kNotBoringXml:
      return u"ファイル \"" + file +
             u"\" はボーリング交換用データではありません（最上位の要素が「" + value(0) +
             u"」です）。変換できません。";
    case Problem::kPathTooDeep:
      return u"パス \"" + value(0) + u"\" の階層が多すぎます。変換できません。";
    case Problem::kInterrupted:
      return kMsgInterrupted;
  }
  return Text();
}

}  // namespace

Text FileErrorDescription(int code) {
  switch (code) {
    case FileError::kFileNotFound:
      return u"ファイルが見つかりません。";
    case FileError::kDiskFull:
      return u"ディスクの空き容量が足りません。";
    case FileError::kInputPastEnd:
      return u"ファイルの終わりを越えて読み込もうとしました。";
    case FileError::kPermissionDenied:
      return u"書き込みが許可されていません。";
    case FileError::kPathNotFound:
      return u"パスが見つかりません。";
    default:
      return u"ファイルにアクセスできません。";
  }
}

Text ErrorMessage(const std::exception& e) {
  if (const auto* file = dynamic_cast<const FileError*>(&e)) return FileMessage(*file);
  if (const auto* problem = dynamic_cast<const ProblemError*>(&e)) return ProblemMessage(*problem);
  return u"変換中に予期しないエラーが発生しました。変換を中止しました。(" + FromUtf8(e.what()) +
         u")";
}

}  // namespace ostra
