#include "app/picture_file.h"

#include "base/sjis.h"

namespace ostra {

namespace {

// Where the file name of a path starts: after its last "\", "/" or drive colon.
size_t NameStart(const Text& path) {
  const size_t p = path.find_last_of(u"\\/:");
  return p == Text::npos ? 0 : p + 1;
}

}  // namespace

Text PictureFileName(const Text& holeName, const Text& source) {
  Text name;
  for (char16_t c : Trim(holeName)) {
    const bool bad = c < 0x20 || c == 0x7f || Text(u"\\/:*?\"<>|").find(c) != Text::npos;
    name += bad ? u'_' : c;
  }
  // A name of dots alone is no file name.
  if (name.find_first_not_of(u'.') == Text::npos) name.clear();
  if (name.empty()) {
    const Text file = Trim(source.substr(NameStart(source)));
    name = file.substr(0, file.rfind(u'.'));
  }
  return (name.empty() ? Text(u"柱状図") : name) + u".pdf";
}

Text PictureFolder(const Text& source) {
  const size_t start = NameStart(source);
  Text folder = source.substr(0, start);
  // "D:\GEO\" gives "D:\GEO"; a drive's root keeps its "\".
  if (folder.size() > 3 && folder.back() == u'\\') folder.pop_back();
  return folder;
}

}  // namespace ostra
