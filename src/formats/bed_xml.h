// A boring exchange XML file (ボーリング交換用データ, BED*.XML) as a tree of elements.
//
// Real files are messy: many declare Shift_JIS and hold UTF-8, elements stand out of the DTD's
// order, unknown elements appear. So the encoding is decided from the bytes (a UTF-16 byte order
// mark; else UTF-8 when the bytes are valid UTF-8 with a character of more than one byte; else
// code page 932), the declaration is not trusted, no DTD is read and no order is required. What
// is not well-formed XML stops, naming the file, the line and the column.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/codec.h"
#include "formats/data_set_encoding.h"

namespace ostra {

enum class XmlEncoding { kCp932, kUtf8, kUtf16 };

struct XmlElement {
  Text name;  // as written, without the blanks a tag may hold before its ">"
  // The character data directly inside the element, entities and character references
  // resolved, CDATA included; not trimmed. The blanks and line ends that only lay out the
  // child elements of an element are left out.
  Text text;
  std::vector<std::pair<Text, Text>> attributes;
  std::vector<XmlElement> children;  // in file order
  long line = 0;                     // 1-based line of its start tag

  // The first child of that name, or null.
  const XmlElement* Child(std::u16string_view childName) const;
  // The text of the first child of that name, trimmed of blanks (half- and full-width), tabs and
  // line ends at both ends; empty when there is no such child.
  Text ChildText(std::u16string_view childName) const;
  // Every element of that name below this one, at any depth, in document order.
  std::vector<const XmlElement*> Descendants(std::u16string_view descendantName) const;
  // The value of an attribute, or nullopt.
  std::optional<Text> Attribute(std::u16string_view attributeName) const;
};

struct XmlDocument {
  XmlElement root;
  XmlEncoding encoding = XmlEncoding::kCp932;
  EncodingBasis basis = EncodingBasis::kContent;  // kChosen when the user's choice decided
  Text declaredEncoding;  // the declaration's encoding="…" as written; empty when none
  Text doctypeSystem;     // the DOCTYPE's system id ("BED0300.DTD"); empty when none
};

// Reads the bytes of the XML file `path` (for messages). `choice` overrides the decision from
// the bytes when it is not kAuto (a UTF-16 byte order mark still wins).
// Throws ProblemError of kind kData:
// - kXmlNotWellFormed (values: what is wrong, as one of the XmlFault keys below) with a
//   DataPlace holding the line and column (characters, 1-based) where the parser stopped;
// - kNotUtf8Byte / kNotCp932 as a UTF-8 data set does, with the line and column of the byte or
//   character (a character that code page 932 cannot hold stops the file whatever its encoding).
XmlDocument ParseBedXml(std::string_view bytes, const Text& path,
                        DataEncoding choice = DataEncoding::kAuto);

// What is wrong with a file that is not well-formed, for the message: the first value of a
// kXmlNotWellFormed error is one of these keys.
inline constexpr std::u16string_view kXmlFaultEnd = u"end";            // the file ends inside
inline constexpr std::u16string_view kXmlFaultTag = u"tag";            // a tag is malformed
inline constexpr std::u16string_view kXmlFaultMismatch = u"mismatch";  // end tag of another name
inline constexpr std::u16string_view kXmlFaultNoRoot = u"no-root";     // no element at all
inline constexpr std::u16string_view kXmlFaultRoots = u"roots";        // more than one top element
inline constexpr std::u16string_view kXmlFaultOther = u"other";        // anything else

// The version of the format: the root's DTD_version attribute ("3.00"), else the digits of the
// DOCTYPE's system id (BED0300.DTD gives "3.00"), else empty.
Text BedVersion(const XmlDocument& document);

}  // namespace ostra
