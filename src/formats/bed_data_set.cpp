#include "formats/bed_data_set.h"

#include <algorithm>
#include <functional>

#include "base/errors.h"
#include "base/sjis.h"
#include "formats/bed_parts.h"

namespace ostra {
namespace bed {

Text TextOf(const XmlElement& element, Names names) {
  for (std::u16string_view name : names) {
    if (element.Child(name) != nullptr) return element.ChildText(name);
  }
  return {};
}

ElementIndex::ElementIndex(const XmlElement& root) {
  for (const XmlElement& child : root.children) Add(child);
}

void ElementIndex::Add(const XmlElement& element) {
  byName_[element.name].push_back(&element);
  for (const XmlElement& child : element.children) Add(child);
}

const std::vector<const XmlElement*>& ElementIndex::All(std::u16string_view name) const {
  static const std::vector<const XmlElement*> kNone;
  const auto it = byName_.find(Text(name));
  return it == byName_.end() ? kNone : it->second;
}

std::vector<const XmlElement*> ListOf(const ElementIndex& index, Names names) {
  for (std::u16string_view name : names) {
    const std::vector<const XmlElement*>& found = index.All(name);
    if (!found.empty()) return found;
  }
  return {};
}

Text FindText(const ElementIndex& index, Names names) {
  for (std::u16string_view name : names) {
    const std::vector<const XmlElement*>& found = index.All(name);
    if (!found.empty()) return Trim(found.front()->text);
  }
  return {};
}

std::optional<Depth> ReadDepth(const Text& text) {
  const Text trimmed = Trim(text);
  const std::optional<DecimalNumber> number = ParseDecimal(trimmed);
  if (!number) return std::nullopt;
  const std::optional<double> value = number->ToDouble();
  if (!value) return std::nullopt;
  return Depth{NarrowNumerals(trimmed), *value};
}

Text DepthText(const Text& text) {
  const std::optional<Depth> depth = ReadDepth(text);
  return depth ? depth->text : Text();
}

void LegacyLine::Separate() {
  if (!first_) text_ += u",";
  first_ = false;
}

LegacyLine& LegacyLine::Number(const Text& value) {
  Separate();
  text_ += value;
  return *this;
}

LegacyLine& LegacyLine::Number(long value) {
  Separate();
  const std::string digits = std::to_string(value);
  text_ += Text(digits.begin(), digits.end());
  return *this;
}

LegacyLine& LegacyLine::Quoted(const Text& value, bool* changed) {
  Separate();
  Text safe = value;
  bool altered = false;
  for (char16_t& ch : safe) {
    if (ch == u'"') {
      ch = u'”';
      altered = true;
    } else if (ch == u'\r' || ch == u'\n' || ch == u'\t') {
      ch = u' ';
      altered = true;
    }
  }
  if (changed != nullptr) *changed = *changed || altered;
  text_ += u"\"" + safe + u"\"";
  return *this;
}

}  // namespace bed

bool IsBedSource(std::u16string_view path) {
  if (path.size() < 4) return false;
  return UpperAscii(Text(path.substr(path.size() - 4))) == u".XML";
}

std::array<Text, 6> LegacyFileNames(std::u16string_view xmlFileName) {
  Text stem(xmlFileName);
  if (const size_t dot = stem.rfind(u'.'); dot != Text::npos) stem.resize(dot);
  std::array<Text, 6> names;
  for (size_t i = 0; i < names.size(); ++i) {
    const Text section(kLegacySections[i]);
    names[i] = (stem.size() >= 3 ? section + stem.substr(3) : section + stem) + u".GDF";
  }
  return names;
}

BedDataSet ReadBedDataSet(std::string_view bytes, const Text& path, DataEncoding choice) {
  const XmlDocument document = ParseBedXml(bytes, path, choice);
  if (document.root.name != u"ボーリング情報") {
    throw ProblemError(Problem::kNotBoringXml, {document.root.name}, path, ErrorKind::kData);
  }
  const size_t slash = path.find_last_of(u"\\/");
  bed::Reading r{document.root,
                 bed::ElementIndex(document.root),
                 BedVersion(document),
                 false,
                 slash == Text::npos ? path : path.substr(slash + 1),
                 BedDataSet{}};
  r.v4 = !r.version.empty() && r.version[0] >= u'4';
  r.result.version = r.version;
  r.result.encoding = document.encoding;
  r.result.basis = document.basis;
  bed::ReadMdt(r);
  bed::ReadBdt(r);
  bed::ReadKdt(r);
  bed::ReadNdt(r);
  bed::ReadLdt(r);
  if (!r.result.unknownCodes.empty()) {
    Text list;
    for (const Text& code : r.result.unknownCodes) list += (list.empty() ? u"" : u"、") + code;
    r.Warn(u"判定表にも標準の表にもないコードを、書かれたままにしました: " + list);
  }
  return std::move(r.result);
}

BedDataSet ReadBedDataSet(Env& env, const Text& path, DataEncoding choice) {
  const std::string bytes = InRole(ErrorKind::kData, [&] { return env.ReadFile(path); });
  return ReadBedDataSet(bytes, path, choice);
}

}  // namespace ostra
