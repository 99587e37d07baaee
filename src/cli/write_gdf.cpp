// --write-gdf: the data set read from a boring exchange XML file written out as the six legacy
// section files, so that an engineer can look at and correct what was read.
#include "base/drive_path.h"
#include "base/errors.h"
#include "base/sjis.h"
#include "cli/paths.h"
#include "cli/session.h"
#include "formats/bed_data_set.h"
#include "run/error_text.h"

namespace ostra {

namespace {

// The names of `files` one after another, for a question.
Text NameList(const std::vector<Text>& files) {
  Text list;
  for (const Text& f : files) {
    if (!list.empty()) list += u"、";
    list += DrivePath(f).FileName();
  }
  return list;
}

}  // namespace

int Session::WriteDataSet(const std::string& source, bool printWarnings) {
  DriveMapEnv::RunScope remembered(env_);
  const std::string& folderArg = options_.writeGdf;
  for (const std::string& arg : {source, folderArg}) {
    if (const std::string problem = PathArgumentProblem(arg); !problem.empty())
      return UsageError(terminal_, problem);
  }
  const std::optional<Text> src = DriveFormOf(env_.Drives(), source);
  if (!src) return UsageError(terminal_, "SOURCE「" + source + "」はどのドライブにもありません");
  const std::optional<Text> dir = DriveFormOf(env_.Drives(), folderArg);
  if (!dir) {
    return UsageError(terminal_,
                      "--write-gdf のフォルダ「" + folderArg + "」はどのドライブにもありません");
  }
  const Text xml = Trim(*src);
  if (!IsBedSource(xml)) {
    if (IsMdtFileName(xml)) {
      return UsageError(terminal_, "変換元「" + source +
                                       "」はすでに旧形式のデータ（MDT ファイル）です。"
                                       "--write-gdf には XML ファイル（BED0001.XML など）を"
                                       "指定してください");
    }
    return UsageError(terminal_, "変換元「" + source +
                                     "」は XML ファイルではありません。--write-gdf には XML "
                                     "ファイル（BED0001.XML など）を指定してください");
  }
  const DrivePath folder(Trim(*dir));

  try {
    const BedDataSet data = ReadBedDataSet(env_, xml, settings_.encoding);
    if (printWarnings) {
      for (const Text& w : data.warnings) ui_.Warn(w);
    }
    const std::array<Text, 6> names = LegacyFileNames(DrivePath(xml).FileName());
    // What would be replaced: a file of a section written now, and one of a section the XML
    // holds nothing of (left there, it would join the written files as their data set).
    const Text xmlKey = ComparableDriveForm(env_.Drives(), xml);
    std::vector<Text> present;
    for (const Text& name : names) {
      const Text path = folder.Join(name);
      // The names end in .GDF, the source in .XML: the source is never among them.
      if (ComparableDriveForm(env_.Drives(), path) == xmlKey) {
        return UsageError(terminal_, "--write-gdf のフォルダに書くファイル「" + ToUtf8(path) +
                                         "」は変換元の XML ファイルです");
      }
      if (env_.PathExists(path)) present.push_back(path);
    }
    if (!present.empty() &&
        !ui_.Ask(u"フォルダ \"" + folder.AsText() + u"\" にはすでに " + NameList(present) +
                 u" があります。書き出すデータで置き換えますか？")) {
      terminal_.Print(stderr, u"データのファイルは書き出しませんでした。");
      return 1;
    }
    // The folder's missing levels, parent before child.
    std::vector<Text> levels;
    for (DrivePath p = folder; !p.IsRoot() && !p.Empty() && !env_.PathExists(p.AsText());
         p = p.Parent()) {
      levels.insert(levels.begin(), p.AsText());
    }
    for (const Text& level : levels) env_.MakeFolder(level);
    for (size_t i = 0; i < names.size(); ++i) {
      const Text path = folder.Join(names[i]);
      if (data.sections[i].empty()) {
        if (env_.FileExists(path)) env_.RemoveFile(path);
        continue;
      }
      std::unique_ptr<WritableFile> file = env_.OpenWrite(path, WriteMode::kCreate);
      file->Append(EncodeCp932(data.sections[i]));
      file->Close();
      // Standard output may be the JSON report's alone.
      if (!terminal_.Quiet()) terminal_.Print(TextStream(), u"書き出しました: " + path);
    }
  } catch (const std::exception& e) {
    terminal_.Print(stderr, ErrorMessage(e));
    return 1;
  }
  return 0;
}

}  // namespace ostra
