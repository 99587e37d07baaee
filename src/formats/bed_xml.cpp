// Reading a boring exchange XML file: the encoding from its bytes, the tree from RapidXML.
#include "formats/bed_xml.h"

#include <algorithm>
#include <cstdlib>
#include <rapidxml/rapidxml.hpp>
#include <unordered_map>

#include "base/encoding_guess.h"
#include "base/errors.h"
#include "base/text_lines.h"

namespace ostra {

namespace {

// Entities and character references resolved, CDATA kept as data, end tags checked against
// their start tags; the declaration, the DOCTYPE, comments and processing instructions skipped.
constexpr int kParseFlags = rapidxml::parse_validate_closing_tags;

using Node = rapidxml::xml_node<char>;

struct Decoded {
  Text text;
  XmlEncoding encoding = XmlEncoding::kCp932;
  EncodingBasis basis = EncodingBasis::kContent;
  // UTF-8 that ends inside a character: the text ends before it, as where a file was cut.
  bool cutCharacter = false;
};

// The bytes of a UTF-8 character that the end of `bytes` cuts short, or 0.
size_t IncompleteTail(std::string_view bytes) {
  for (size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const auto b = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((b & 0xC0) == 0x80) continue;
    const size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return length > back ? back : 0;
  }
  return 0;
}

Text DecodeUtf16(std::string_view bytes, bool bigEndian) {
  Text text;
  text.reserve(bytes.size() / 2);
  // A last odd byte is no character: the text ends before it.
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
  }
  return text;
}

[[noreturn]] void ThrowNotCp932(TextView text, size_t at, const Text& path) {
  const Text character = CharacterAt(text, at);
  throw ProblemError(Problem::kNotCp932, {character}, path, ErrorKind::kData,
                     DataPlace{static_cast<long>(LineNumberAt(text, at)),
                               static_cast<long>(ColumnAt(text, at)), 0, 0, 0, character});
}

Decoded Decode(std::string_view bytes, const Text& path, DataEncoding choice) {
  const bool littleBom = bytes.substr(0, 2) == "\xFF\xFE";
  if (littleBom || bytes.substr(0, 2) == "\xFE\xFF") {
    Decoded decoded{DecodeUtf16(bytes, !littleBom), XmlEncoding::kUtf16, EncodingBasis::kContent};
    const size_t bad = FindUnencodable(decoded.text);
    if (bad != Text::npos) ThrowNotCp932(decoded.text, bad, path);
    return decoded;
  }
  bool utf8 = choice == DataEncoding::kUtf8;
  EncodingBasis basis = EncodingBasis::kChosen;
  if (choice == DataEncoding::kAuto) {
    const Utf8Verdict verdict = VerdictOf(ScanUtf8(bytes));
    utf8 = verdict == Utf8Verdict::kUtf8 || verdict == Utf8Verdict::kMostlyUtf8;
    basis = verdict == Utf8Verdict::kEither ? EncodingBasis::kDefault : EncodingBasis::kContent;
  }
  bool cut = false;
  if (utf8) {
    const size_t tail = IncompleteTail(bytes);
    cut = tail > 0 && ScanUtf8(bytes.substr(0, bytes.size() - tail)).invalid == 0;
    if (cut) bytes.remove_suffix(tail);
  }
  // The text of a data set's file: a byte that is no UTF-8 and a character that code page 932
  // cannot hold stop here, as they do for a data set.
  return {DecodeDataFile(std::string(bytes), path, utf8),
          utf8 ? XmlEncoding::kUtf8 : XmlEncoding::kCp932, basis, cut};
}

bool StartsLine(const std::string& s, size_t i) {
  return s[i] == '\n' || (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n'));
}

// The line and the column (characters, 1-based) of a byte offset of UTF-8 text.
DataPlace PlaceOf(const std::string& s, size_t offset) {
  offset = std::min(offset, s.size());
  long line = 1;
  size_t lineStart = 0;
  for (size_t i = 0; i < offset; ++i) {
    if (StartsLine(s, i)) {
      ++line;
      lineStart = i + 1;
    }
  }
  long column = 1;
  for (size_t i = lineStart; i < offset; ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) ++column;
  }
  return DataPlace{line, column, 0, 0, 0, Text()};
}

[[noreturn]] void ThrowNotWellFormed(std::u16string_view fault, const std::string& s, size_t offset,
                                     const Text& path) {
  throw ProblemError(Problem::kXmlNotWellFormed, {Text(fault)}, path, ErrorKind::kData,
                     PlaceOf(s, offset));
}

// The fault of a RapidXML error at `offset` of the text `s`, and where to report it.
std::u16string_view FaultOf(std::string_view what, const std::string& s, size_t& offset) {
  // A zero character ends the text for RapidXML: it is no end of the file.
  if (offset < s.size() && s[offset] == '\0') return kXmlFaultOther;
  // A file cut short ends inside something, whatever RapidXML was looking for there.
  if (offset >= s.size() || what == "unexpected end of data") return kXmlFaultEnd;
  if (what == "invalid closing tag name") {
    // RapidXML stops after the end tag's name: the place is its "</".
    const size_t tag = s.rfind("</", offset);
    if (tag != std::string::npos) offset = tag;
    return kXmlFaultMismatch;
  }
  if (what.starts_with("expected") && what != "expected <" && what != "expected ;") {
    return kXmlFaultTag;
  }
  return kXmlFaultOther;
}

// Appends character data with its line ends as XML hands them on: CR LF and CR become LF.
void AppendNormalized(Text& to, const Text& data) {
  if (data.find(u'\r') == Text::npos) {
    to += data;
    return;
  }
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] != u'\r') {
      to.push_back(data[i]);
    } else if (i + 1 >= data.size() || data[i + 1] != u'\n') {
      to.push_back(u'\n');
    }
  }
}

// Lines of start tags, met in file order: one pass over the text for all of them.
class LineCounter {
 public:
  explicit LineCounter(const std::string& s) : s_(s) {}
  long LineAt(size_t offset) {
    for (; pos_ < offset && pos_ < s_.size(); ++pos_) line_ += StartsLine(s_, pos_) ? 1 : 0;
    return line_;
  }

 private:
  const std::string& s_;
  size_t pos_ = 0;
  long line_ = 1;
};

struct TreeBuilder {
  const std::string& original;  // the text before RapidXML wrote into its copy
  const char* buffer;           // RapidXML's copy: offsets are the same
  const Text& path;
  LineCounter lines{original};
  bool references = original.find("&#") != std::string::npos;

  size_t OffsetOf(const char* p) const { return static_cast<size_t>(p - buffer); }

  // A resolved character reference may stand for a character code page 932 cannot hold:
  // it stops at the reference that gave it.
  void CheckEncodable(const Text& value, const char* source) const {
    if (!references) return;
    const size_t bad = FindUnencodable(value);
    if (bad == Text::npos) return;
    const Text character = CharacterAt(value, bad);
    const char32_t wanted =
        character.size() == 2
            ? 0x10000 + ((char32_t{character[0]} - 0xD800) << 10) + (character[1] - 0xDC00)
            : character[0];
    size_t at = OffsetOf(source);
    for (size_t ref = original.find("&#", at); ref != std::string::npos;
         ref = original.find("&#", ref + 2)) {
      const bool hex = ref + 2 < original.size() && original[ref + 2] == 'x';
      const size_t digits = ref + (hex ? 3 : 2);
      const unsigned long code = std::strtoul(original.c_str() + digits, nullptr, hex ? 16 : 10);
      if (code == wanted) {
        at = ref;
        break;
      }
    }
    const DataPlace place = PlaceOf(original, at);
    throw ProblemError(Problem::kNotCp932, {character}, path, ErrorKind::kData,
                       DataPlace{place.line, place.column, 0, 0, 0, character});
  }

  // A file repeats a few dozen element names thousands of times: each is decoded once.
  std::unordered_map<std::string_view, Text> names = {};

  const Text& NameOf(const Node& node) {
    const std::string_view raw(node.name(), node.name_size());
    auto it = names.find(raw);
    if (it != names.end()) return it->second;
    Text name = FromUtf8(raw);
    while (!name.empty() && (name.back() == u' ' || name.back() == u'\u3000')) name.pop_back();
    return names.emplace(raw, std::move(name)).first->second;
  }

  void Build(const Node& node, XmlElement& element) {
    element.name = NameOf(node);
    element.line = lines.LineAt(OffsetOf(node.name()));
    size_t childElements = 0;
    for (const Node* child = node.first_node(); child != nullptr; child = child->next_sibling()) {
      if (child->type() == rapidxml::node_element) ++childElements;
    }
    element.children.reserve(childElements);
    for (auto* a = node.first_attribute(); a != nullptr; a = a->next_attribute()) {
      Text value = FromUtf8(std::string_view(a->value(), a->value_size()));
      CheckEncodable(value, a->value());
      element.attributes.emplace_back(FromUtf8(std::string_view(a->name(), a->name_size())),
                                      std::move(value));
    }
    for (const Node* child = node.first_node(); child != nullptr; child = child->next_sibling()) {
      if (child->type() == rapidxml::node_element) {
        Build(*child, element.children.emplace_back());
      } else if (child->type() == rapidxml::node_data || child->type() == rapidxml::node_cdata) {
        const std::string_view raw(child->value(), child->value_size());
        // The blanks and line ends that lay out child elements are no data of their parent.
        if (childElements > 0 && child->type() == rapidxml::node_data &&
            raw.find_first_not_of(" \t\r\n") == std::string_view::npos) {
          continue;
        }
        const Text data = FromUtf8(raw);
        CheckEncodable(data, child->value());
        AppendNormalized(element.text, data);
      }
    }
  }
};

// The value of `name="…"` (or '…') inside s[from, to), or empty.
Text QuotedAfter(const std::string& s, size_t from, size_t to, std::string_view name) {
  size_t at = s.find(name, from);
  if (at == std::string::npos || at >= to) return Text();
  at = s.find_first_of("\"'", at + name.size());
  if (at == std::string::npos || at >= to) return Text();
  const size_t end = s.find(s[at], at + 1);
  if (end == std::string::npos || end > to) return Text();
  return FromUtf8(std::string_view(s).substr(at + 1, end - at - 1));
}

// The declaration's encoding and the DOCTYPE's system id, from the text before the root.
void ReadProlog(const std::string& s, size_t root, XmlDocument& document) {
  if (s.starts_with("<?xml")) {
    const size_t end = s.find("?>");
    if (end != std::string::npos && end < root) {
      document.declaredEncoding = QuotedAfter(s, 5, end, "encoding");
    }
  }
  const size_t doctype = s.find("<!DOCTYPE");
  if (doctype == std::string::npos || doctype >= root) return;
  const size_t end = s.find('>', doctype);
  const size_t to = end == std::string::npos ? root : std::min(end, root);
  const size_t system = s.find("SYSTEM", doctype);
  if (system != std::string::npos && system < to) {
    document.doctypeSystem = QuotedAfter(s, system + 6, to, "");
    return;
  }
  // PUBLIC "public id" "system id"
  const size_t pub = s.find("PUBLIC", doctype);
  if (pub == std::string::npos || pub >= to) return;
  size_t first = s.find_first_of("\"'", pub);
  if (first == std::string::npos || first >= to) return;
  first = s.find(s[first], first + 1);
  if (first != std::string::npos) document.doctypeSystem = QuotedAfter(s, first + 1, to, "");
}

}  // namespace

XmlDocument ParseBedXml(std::string_view bytes, const Text& path, DataEncoding choice) {
  Decoded decoded = Decode(bytes, path, choice);
  XmlDocument document;
  document.encoding = decoded.encoding;
  document.basis = decoded.basis;
  // Ctrl-Z and zero characters that close a file (as old editors and copies leave them) are not
  // part of the XML.
  const size_t last = decoded.text.find_last_not_of(std::u16string_view(u"\x1A\0", 2));
  decoded.text.resize(last == Text::npos ? 0 : last + 1);
  const std::string original = ToUtf8(decoded.text);
  decoded.text = Text();
  std::vector<char> buffer(original.begin(), original.end());
  buffer.push_back('\0');

  rapidxml::xml_document<char> parsed;
  try {
    parsed.parse<kParseFlags>(buffer.data());
  } catch (const rapidxml::parse_error& e) {
    size_t offset = static_cast<size_t>(e.where<char>() - buffer.data());
    const std::u16string_view fault = FaultOf(e.what(), original, offset);
    ThrowNotWellFormed(fault, original, offset, path);
  }
  // Well-formed without the cut character: the bytes after the root are what is wrong.
  if (decoded.cutCharacter) DecodeDataFile(std::string(bytes), path, true);
  // RapidXML stopped at a zero character after the root: what follows it was not read.
  if (const size_t zero = original.find('\0'); zero != std::string::npos) {
    ThrowNotWellFormed(kXmlFaultOther, original, zero, path);
  }
  const Node* root = parsed.first_node();
  if (root == nullptr) ThrowNotWellFormed(kXmlFaultNoRoot, original, original.size(), path);
  if (const Node* second = root->next_sibling(); second != nullptr) {
    ThrowNotWellFormed(kXmlFaultRoots, original,
                       static_cast<size_t>(second->name() - buffer.data()) - 1, path);
  }
  TreeBuilder builder{original, buffer.data(), path};
  builder.Build(*root, document.root);
  ReadProlog(original, static_cast<size_t>(root->name() - buffer.data()), document);
  return document;
}

}  // namespace ostra
