// The XML tree's look-ups and the version of a boring exchange file.
#include "formats/bed_xml.h"

namespace ostra {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\u3000' || c == u'\t' || c == u'\r' || c == u'\n';
}

void CollectDescendants(const XmlElement& element, std::u16string_view name,
                        std::vector<const XmlElement*>& found) {
  for (const XmlElement& child : element.children) {
    if (child.name == name) found.push_back(&child);
    CollectDescendants(child, name, found);
  }
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

}  // namespace

const XmlElement* XmlElement::Child(std::u16string_view childName) const {
  for (const XmlElement& child : children) {
    if (child.name == childName) return &child;
  }
  return nullptr;
}

Text XmlElement::ChildText(std::u16string_view childName) const {
  const XmlElement* child = Child(childName);
  if (child == nullptr) return Text();
  const Text& t = child->text;
  size_t from = 0;
  size_t to = t.size();
  while (from < to && IsBlank(t[from])) ++from;
  while (to > from && IsBlank(t[to - 1])) --to;
  return t.substr(from, to - from);
}

std::vector<const XmlElement*> XmlElement::Descendants(std::u16string_view descendantName) const {
  std::vector<const XmlElement*> found;
  CollectDescendants(*this, descendantName, found);
  return found;
}

std::optional<Text> XmlElement::Attribute(std::u16string_view attributeName) const {
  for (const auto& [name, value] : attributes) {
    if (name == attributeName) return value;
  }
  return std::nullopt;
}

Text BedVersion(const XmlDocument& document) {
  if (std::optional<Text> version = document.root.Attribute(u"DTD_version")) {
    size_t from = 0;
    size_t to = version->size();
    while (from < to && IsBlank((*version)[from])) ++from;
    while (to > from && IsBlank((*version)[to - 1])) --to;
    if (to > from) return version->substr(from, to - from);
  }
  // "BED0300.DTD", perhaps behind a folder: the four digits after "BED" in the file's name.
  const Text& system = document.doctypeSystem;
  const size_t slash = system.find_last_of(u"/\\");
  const size_t name = slash == Text::npos ? 0 : slash + 1;
  if (system.size() < name + 7) return Text();
  const Text prefix = system.substr(name, 3);
  if (prefix != u"BED" && prefix != u"bed" && prefix != u"Bed") return Text();
  const TextView digits = TextView(system).substr(name + 3, 4);
  for (char16_t c : digits) {
    if (!IsDigit(c)) return Text();
  }
  Text major(digits.substr(0, 2));
  if (major[0] == u'0') major.erase(0, 1);
  return major + u"." + Text(digits.substr(2));
}

}  // namespace ostra
