// A minimal XML reader for reading pictures back in the tests: elements, attributes, text, the
// five entities and "&#...;". It insists on well-formed input.
#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ostra::test {

struct Element {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::vector<std::unique_ptr<Element>> children;
  std::string text;  // all character data directly inside, entities decoded

  std::string Attr(const std::string& key) const {
    auto it = attributes.find(key);
    return it == attributes.end() ? std::string() : it->second;
  }
  double Number(const std::string& key) const { return std::atof(Attr(key).c_str()); }
  bool HasClass(const std::string& cls) const { return Attr("class") == cls; }
  // Text of this element and everything below it.
  std::string AllText() const {
    std::string all = text;
    for (const auto& child : children) all += child->AllText();
    return all;
  }
  void Collect(const std::string& cls, std::vector<const Element*>& out) const {
    if (HasClass(cls)) out.push_back(this);
    for (const auto& child : children) child->Collect(cls, out);
  }
  std::vector<const Element*> All(const std::string& cls) const {
    std::vector<const Element*> out;
    Collect(cls, out);
    return out;
  }
  const Element* Child(const std::string& childName) const {
    for (const auto& child : children) {
      if (child->name == childName) return child.get();
    }
    return nullptr;
  }
};
class XmlReader {
 public:
  explicit XmlReader(const std::string& xml) : s_(xml) {}

  // The root element; nothing, with Error() saying why, for anything that is not well-formed.
  std::unique_ptr<Element> Parse();
  const std::string& Error() const { return error_; }

 private:
  bool Peek(const char* what) const;
  std::unique_ptr<Element> Fail(const std::string& why);
  void SkipSpace();
  // Blanks, the XML declaration and comments.
  void SkipMisc();
  std::string Name();
  // Character data up to `stop`, with entities decoded; a bare "<" or "&" is an error.
  std::string Chars(char stop);
  std::unique_ptr<Element> ParseElement();

  const std::string& s_;
  size_t pos_ = 0;
  std::string error_;
};

}  // namespace ostra::test
