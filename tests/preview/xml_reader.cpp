#include "preview/xml_reader.h"

#include <cctype>
#include <cstring>

namespace ostra::test {

std::unique_ptr<Element> XmlReader::Parse() {
  SkipMisc();
  if (!Peek("<")) return Fail("no root element");
  auto root = ParseElement();
  SkipMisc();
  if (error_.empty() && pos_ != s_.size()) Fail("content after the root element");
  return error_.empty() ? std::move(root) : nullptr;
}

bool XmlReader::Peek(const char* what) const {
  return s_.compare(pos_, std::strlen(what), what) == 0;
}

std::unique_ptr<Element> XmlReader::Fail(const std::string& why) {
  if (error_.empty()) error_ = why + " at byte " + std::to_string(pos_);
  return nullptr;
}

void XmlReader::SkipSpace() {
  while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
}

void XmlReader::SkipMisc() {
  for (;;) {
    SkipSpace();
    if (Peek("<?")) {
      size_t end = s_.find("?>", pos_);
      if (end == std::string::npos) return void(Fail("open declaration"));
      pos_ = end + 2;
    } else if (Peek("<!--")) {
      size_t end = s_.find("-->", pos_);
      if (end == std::string::npos) return void(Fail("open comment"));
      pos_ = end + 3;
    } else {
      return;
    }
  }
}

std::string XmlReader::Name() {
  size_t start = pos_;
  while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) ||
                              s_[pos_] == '-' || s_[pos_] == ':' || s_[pos_] == '_')) {
    ++pos_;
  }
  if (start == pos_) Fail("name expected");
  return s_.substr(start, pos_ - start);
}

std::string XmlReader::Chars(char stop) {
  std::string out;
  while (pos_ < s_.size() && s_[pos_] != stop) {
    char c = s_[pos_];
    if (c == '<') return Fail("bare < in text"), out;
    if (c != '&') {
      out.push_back(c);
      ++pos_;
      continue;
    }
    size_t end = s_.find(';', pos_);
    if (end == std::string::npos) return Fail("open entity"), out;
    std::string entity = s_.substr(pos_ + 1, end - pos_ - 1);
    static const std::map<std::string, std::string> kEntities = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
    if (auto it = kEntities.find(entity); it != kEntities.end()) {
      out += it->second;
    } else if (entity.size() > 1 && entity[0] == '#') {
      long code = entity[1] == 'x' ? std::strtol(entity.c_str() + 2, nullptr, 16)
                                   : std::strtol(entity.c_str() + 1, nullptr, 10);
      if (code <= 0 || code > 0x7f) return Fail("character reference beyond ASCII"), out;
      out.push_back(static_cast<char>(code));
    } else {
      return Fail("unknown entity &" + entity + ";"), out;
    }
    pos_ = end + 1;
  }
  return out;
}

std::unique_ptr<Element> XmlReader::ParseElement() {
  ++pos_;  // "<"
  auto element = std::make_unique<Element>();
  element->name = Name();
  for (;;) {
    SkipSpace();
    if (!error_.empty()) return nullptr;
    if (Peek("/>")) {
      pos_ += 2;
      return element;
    }
    if (Peek(">")) {
      ++pos_;
      break;
    }
    std::string key = Name();
    SkipSpace();
    if (!Peek("=")) return Fail("= expected after " + key);
    ++pos_;
    SkipSpace();
    if (pos_ >= s_.size() || (s_[pos_] != '"' && s_[pos_] != '\'')) {
      return Fail("quoted value expected for " + key);
    }
    char quote = s_[pos_++];
    std::string value = Chars(quote);
    if (pos_ >= s_.size()) return Fail("open attribute value");
    ++pos_;
    if (!element->attributes.emplace(key, value).second) return Fail("attribute twice: " + key);
  }
  for (;;) {
    if (!error_.empty()) return nullptr;
    if (pos_ >= s_.size()) return Fail("element " + element->name + " not closed");
    if (Peek("</")) {
      pos_ += 2;
      std::string closing = Name();
      SkipSpace();
      if (closing != element->name || !Peek(">")) {
        return Fail("</" + closing + "> closes <" + element->name + ">");
      }
      ++pos_;
      return element;
    }
    if (Peek("<!--")) {
      SkipMisc();
    } else if (Peek("<")) {
      auto child = ParseElement();
      if (!child) return nullptr;
      element->children.push_back(std::move(child));
    } else {
      element->text += Chars('<');
    }
  }
}

}  // namespace ostra::test
