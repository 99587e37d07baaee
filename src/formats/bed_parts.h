// The working parts of the boring exchange XML reader, private to formats/: the file as the
// reader sees it (elements found by the names of any version) and the legacy section texts it
// writes.
#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/codec.h"
#include "base/decimal.h"
#include "formats/bed_data_set.h"
#include "formats/bed_xml.h"

namespace ostra::bed {

using Names = std::initializer_list<std::u16string_view>;

// Every element below the root by its name, in document order: the reader looks elements up
// by name wherever they stand, and a file is walked once for all the look-ups.
class ElementIndex {
 public:
  explicit ElementIndex(const XmlElement& root);
  // The elements of that name; none when the file holds none.
  const std::vector<const XmlElement*>& All(std::u16string_view name) const;

 private:
  void Add(const XmlElement& element);
  std::unordered_map<Text, std::vector<const XmlElement*>> byName_;
};

// The text of the first child of `element` named by any of `names` (trimmed), or empty.
Text TextOf(const XmlElement& element, Names names);
// Every element named by the first of `names` that the file holds (the names of the versions
// of one thing), in document order.
std::vector<const XmlElement*> ListOf(const ElementIndex& index, Names names);
// The text of the first element anywhere in the file named by any of `names`, trimmed.
Text FindText(const ElementIndex& index, Names names);

// A whole number as decimal digits.
Text Digits(long value);

// A depth as written and as a number.
struct Depth {
  Text text;  // trimmed, as written
  double value = 0;
};
std::optional<Depth> ReadDepth(const Text& text);
// A depth as the legacy record writes it: as written when it is a number, else empty.
Text DepthText(const Text& text);

// One line of a legacy section text: fields separated by commas; a text field is written in
// double quotes so that commas and blanks stay part of it.
class LegacyLine {
 public:
  // A number or a depth, written as it stands.
  LegacyLine& Number(const Text& value);
  LegacyLine& Number(long value);
  // A text: in double quotes. A double quote inside (which the field syntax cannot hold) becomes
  // the full-width "”", and line ends and tabs become blanks; `changed` tells the caller.
  LegacyLine& Quoted(const Text& value, bool* changed = nullptr);
  // The line with its CR LF.
  Text Done() const { return text_ + u"\r\n"; }

 private:
  void Separate();
  Text text_;
  bool first_ = true;
};

// What the reader builds: the section texts, warnings and the layer counts.
struct Reading {
  const XmlElement& root;
  ElementIndex index;
  Text version;
  bool v4 = false;  // 4.00 and later: SPT penetration in mm
  Text fileName;    // the XML file's name, for warnings
  BedDataSet result;

  void Warn(Text text) { result.warnings.push_back(std::move(text)); }
};

// The sections, each into result.sections[...].
void ReadMdt(Reading& r);  // header items, layer records, the second block
void ReadBdt(Reading& r);
void ReadKdt(Reading& r);
void ReadNdt(Reading& r);
void ReadLdt(Reading& r);

// The MDT header items (29), in the order of the legacy header.
std::vector<Text> HeaderItems(Reading& r);
// The layer records of 11 fields each.
std::vector<std::vector<Text>> LayerRecords(Reading& r);

}  // namespace ostra::bed
