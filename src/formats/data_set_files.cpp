#include "formats/data_set_files.h"

#include "base/errors.h"
#include "base/path_text.h"

namespace ostra {

Text SectionFileName(const Text& sourcePath, const Text& sourceFileName, const Text& section) {
  size_t p = sourcePath.find(sourceFileName);
  if (p == Text::npos || sourceFileName.empty()) p = sourcePath.size();
  Text name = sourcePath.substr(0, p) + section;
  if (p + 3 < sourcePath.size()) name += sourcePath.substr(p + 3);
  return name;
}

std::vector<Text> DataSetFiles(const Text& sourcePath) {
  const Text fileName = SplitPath(sourcePath, u"\\").Last();
  std::vector<Text> files{sourcePath};
  // A boring exchange XML file is the whole data set.
  if (IsBedSource(sourcePath)) return files;
  // The first section is the MDT file itself.
  for (size_t i = 1; i < kLegacySections.size(); ++i)
    files.push_back(SectionFileName(sourcePath, fileName, Text(kLegacySections[i])));
  return files;
}

DataSetSections ReadDataSetSections(Env& env, const Text& source, DataEncoding choice) {
  DataSetSections sections;
  if (IsBedSource(source)) {
    sections.bed = ReadBedDataSet(env, source, choice);
    for (size_t i = 0; i < kLegacySections.size(); ++i) {
      sections.files[i] = source;
      if (!sections.bed->sections[i].empty()) sections.texts[i] = sections.bed->sections[i];
    }
    return sections;
  }
  const std::vector<Text> files = DataSetFiles(source);
  const DataSetEncoding encoding = DecideDataSetEncoding(env, files, choice);
  for (size_t i = 0; i < files.size(); ++i) {
    sections.files[i] = files[i];
    // The MDT file is required; a sibling that is missing or empty is a section the set lacks.
    InRole(ErrorKind::kData, [&] {
      if (i > 0 && (!env.FileExists(files[i]) || env.FileSize(files[i]) < 1)) return;
      sections.texts[i] = DecodeDataFile(env.ReadFile(files[i]), files[i], encoding.utf8);
    });
  }
  return sections;
}

}  // namespace ostra
