#include "cli/scan.h"

#include <algorithm>
#include <filesystem>

#include "base/sjis.h"
#include "cli/paths.h"
#include "cli/session.h"
#include "convert/section_unit.h"
#include "formats/data_set_files.h"
#include "formats/section_file.h"
#include "run/error_text.h"

namespace ostra {

namespace {

constexpr const char16_t* kFields[] = {u"project", u"site", u"boring"};

bool EndsWith(const Text& text, const Text& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Whether a file's name is that of a data set: MDT*.GDF or BED*.XML in any letter case.
bool IsDataSetName(const Text& name) {
  const Text upper = UpperAscii(name);
  return (upper.rfind(u"MDT", 0) == 0 && EndsWith(upper, u".GDF")) ||
         (upper.rfind(u"BED", 0) == 0 && EndsWith(upper, u".XML"));
}

// A delivery's folders that name no boring, site or project.
bool IsDeliveryFolder(const Text& name) {
  const Text upper = UpperAscii(name);
  return upper == u"BORING" || upper == u"DATA";
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\u3000';
}

Text Join(const Text& folder, const Text& name, char16_t separator) {
  if (folder.empty() || folder.back() == separator) return folder + name;
  return folder + separator + name;
}

struct Walk {
  Env& files;
  const std::function<void(const Text&, const Text&)>& unreadable;
  std::vector<FoundDataSet> found;

  // `levels`: the folders from `drivePath` up, nearest first, BORING and DATA passed over.
  void Folder(const Text& drivePath, const Text& shown, char16_t separator, bool delivery,
              const std::vector<Text>& levels) {
    std::vector<FolderEntry> entries;
    try {
      entries = files.ListFolder(drivePath);
    } catch (const std::exception& e) {
      unreadable(shown, ErrorMessage(e));
      return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    const long here = std::count_if(entries.begin(), entries.end(), [](const FolderEntry& e) {
      return e.kind == FileKind::kFile && IsDataSetName(e.name);
    });
    for (const FolderEntry& e : entries) {
      const Text path = Join(drivePath, e.name, u'\\');
      const Text name = Join(shown, e.name, separator);
      if (e.kind == FileKind::kFile && IsDataSetName(e.name)) {
        const size_t dot = e.name.rfind(u'.');
        found.push_back({ToUtf8(name), path,
                         DataSetPlace{levels, e.name.substr(0, dot), !delivery && here == 1}});
      } else if (e.kind == FileKind::kFolder && !e.link) {
        // A link to a folder is not followed: no loop, nothing outside the scanned folder.
        std::vector<Text> below = levels;
        const bool deliveryFolder = IsDeliveryFolder(e.name);
        if (!deliveryFolder) below.insert(below.begin(), e.name);
        Folder(path, name, separator, deliveryFolder, below);
      }
    }
  }
};

}  // namespace

std::string UnknownTemplateField(const std::string& pattern) {
  const Text t = FromUtf8(pattern);
  for (size_t open = t.find(u'{'); open != Text::npos; open = t.find(u'{', open + 1)) {
    const size_t close = t.find(u'}', open);
    if (close == Text::npos) return ToUtf8(t.substr(open));
    const Text field = t.substr(open + 1, close - open - 1);
    if (std::find(std::begin(kFields), std::end(kFields), field) == std::end(kFields))
      return ToUtf8(t.substr(open, close - open + 1));
  }
  return std::string();
}

Text AsFolderLevel(TextView name) {
  size_t from = 0, to = name.size();
  while (from < to && (IsBlank(name[from]) || name[from] == u'.')) ++from;
  while (to > from && (IsBlank(name[to - 1]) || name[to - 1] == u'.')) --to;
  Text level(name.substr(from, to - from));
  for (char16_t& c : level) {
    if (c < 0x20 || c == 0x7F || IsBlank(c) || Text(u"\\/:*?\"<>|").find(c) != Text::npos) c = u'_';
  }
  return level;
}

FilledTemplate FillTemplate(const std::string& pattern, const DataSetNames& names,
                            const DataSetPlace& place) {
  // The folder names: the boring's own folder, or its file's name when the folder does not
  // name it; the site and the project from the folders above.
  std::vector<Text> folders = place.folders;
  if (!place.ownFolder) folders.insert(folders.begin(), place.stem);
  const Text fromData[] = {names.project, names.site, names.boring};
  const size_t folderOf[] = {2, 1, 0};

  FilledTemplate filled;
  Text out;
  const Text t = FromUtf8(pattern);
  size_t pos = 0;
  for (size_t open = t.find(u'{'); open != Text::npos; open = t.find(u'{', pos)) {
    const size_t close = t.find(u'}', open);
    out += t.substr(pos, open - pos);
    pos = close + 1;
    const Text field = t.substr(open + 1, close - open - 1);
    const size_t i = static_cast<size_t>(std::find(std::begin(kFields), std::end(kFields), field) -
                                         std::begin(kFields));
    Text value = AsFolderLevel(fromData[i]);
    if (value.empty()) {
      const Text folder =
          folderOf[i] < folders.size() ? AsFolderLevel(folders[folderOf[i]]) : Text();
      value = folder.empty() ? Text(u"_") : folder;
      const std::string what =
          folder.empty() ? "「_」（データにもフォルダ名にもありません）"
                         : (folderOf[i] == 0 && !place.ownFolder ? "ファイル名" : "フォルダ名") +
                               std::string("「") + ToUtf8(folder) + "」";
      if (filled.fallback.find("{" + ToUtf8(field) + "}") == std::string::npos) {
        if (!filled.fallback.empty()) filled.fallback += "、";
        filled.fallback += "{" + ToUtf8(field) + "} は" + what;
      }
    }
    out += value;
  }
  out += t.substr(std::min(pos, t.size()));
  filled.dest = ToUtf8(out);
  return filled;
}

std::vector<FoundDataSet> ScanDataSets(
    Env& files, const Text& root, const std::string& shown,
    const std::function<void(const Text& folder, const Text& reason)>& unreadable) {
  // The folders above the scanned one name the site and project of data sets right below it.
  std::vector<Text> levels;
  Text last;
  Text rest = root.size() >= 2 && root[1] == u':' ? root.substr(2) : root;
  for (size_t from = 0; from <= rest.size();) {
    size_t to = rest.find(u'\\', from);
    if (to == Text::npos) to = rest.size();
    const Text level = rest.substr(from, to - from);
    if (!level.empty()) last = level;
    if (!level.empty() && level != u"." && !IsDeliveryFolder(level))
      levels.insert(levels.begin(), level);
    from = to + 1;
  }
  const char16_t separator =
      LooksDriveForm(shown) ? u'\\'
                            : static_cast<char16_t>(std::filesystem::path::preferred_separator);
  Walk walk{files, unreadable, {}};
  walk.Folder(root, FromUtf8(shown), separator, IsDeliveryFolder(last), levels);
  return walk.found;
}

DataSetNames ReadDataSetNames(Env& files, const Text& source, DataEncoding encoding) {
  DataSetNames names;
  try {
    DataSetSections sections = ReadDataSetSections(files, source, encoding);
    if (!sections.texts[0]) return names;
    FieldReader reader(std::move(*sections.texts[0]), sections.files[0]);
    const MdtCounts counts = ReadMdtCounts(reader);
    reader.BeginItems(counts.items);
    RecordFields fields;
    reader.ReadRecord(fields, counts.items);
    if (counts.items >= 1) names.site = fields[1];
    if (counts.items >= 3) names.boring = fields[3];
    if (counts.items >= 29) names.project = fields[29];
  } catch (const std::exception&) {
    // A data set that cannot be read is named by its folders; the conversion tells why.
  }
  return names;
}

std::optional<std::vector<BatchItem>> CollectScannedItems(Session& session, int& exitCode) {
  const CliOptions& options = session.Options();
  Terminal& term = session.Term();
  if (const std::string field = UnknownTemplateField(options.destTemplate); !field.empty()) {
    exitCode = UsageError(term, "--dest-template の「" + field +
                                    "」は使えません（使えるのは {project}、{site}、{boring}）");
    return std::nullopt;
  }
  if (const std::string problem = PathArgumentProblem(options.scan); !problem.empty()) {
    exitCode = UsageError(term, problem);
    return std::nullopt;
  }
  DriveMapEnv& files = session.Files();
  const std::optional<Text> root = DriveFormOf(files.Drives(), options.scan);
  if (!root) {
    exitCode =
        UsageError(term, "--scan のフォルダ「" + options.scan + "」はどのドライブにもありません");
    return std::nullopt;
  }
  exitCode = 1;
  try {
    if (files.KindOf(*root) != FileKind::kFolder) {
      term.Print(stderr, u"--scan のフォルダ「" + FromUtf8(options.scan) + u"」がありません。");
      return std::nullopt;
    }
  } catch (const std::exception& e) {
    term.Print(stderr, ErrorMessage(e));
    return std::nullopt;
  }
  const std::vector<FoundDataSet> found =
      ScanDataSets(files, *root, options.scan, [&term](const Text& folder, const Text& reason) {
        term.Print(stderr, u"警告: フォルダ「" + folder +
                               u"」を読めないため、その中は探しません（" + reason + u"）");
      });
  if (found.empty()) {
    term.Print(stderr, u"「" + FromUtf8(options.scan) +
                           u"」の下に変換するデータ（MDT*.GDF、BED*.XML）がありません。");
    return std::nullopt;
  }
  std::vector<BatchItem> items;
  for (const FoundDataSet& f : found) {
    const FilledTemplate filled =
        FillTemplate(options.destTemplate,
                     ReadDataSetNames(files, f.drivePath, session.Settings().encoding), f.place);
    items.push_back(
        {f.path, filled.dest, static_cast<long>(items.size() + 1), f.path, filled.fallback});
  }
  exitCode = 0;
  return items;
}

}  // namespace ostra
