#include "formats/bed_xml.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/text_lines.h"
#include "run/error_text.h"
#include "support/test_support.h"

namespace ostra {
namespace {

using test::U16;
using test::U8;

const Text kPath = u"T:\\BORING\\DATA\\BED0001.XML";

// A small file in UTF-8 text: entities, a character reference, CDATA and a blank before ">".
const std::string kSmall =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
    "<!DOCTYPE ボーリング情報 SYSTEM \"BED0300.DTD\">\r\n"
    "<ボーリング情報>\r\n"
    " <標題情報>\r\n"
    "  <調査名 >○○土質調査 &amp; &#x8A66;験</調査名 >\r\n"
    "  <備考><![CDATA[a<b]]>＆c</備考>\r\n"
    " </標題情報>\r\n"
    "</ボーリング情報>\r\n";

std::string Utf16(const std::string& utf8, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : U16(utf8)) {
    const char high = static_cast<char>(c >> 8);
    const char low = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(BedXmlTest, DecidesTheEncodingFromTheBytesUnlessChosen) {
  const std::string ascii = "<a><b>x</b></a>";
  struct Case {
    const char* what;
    std::string bytes;
    DataEncoding choice;
    XmlEncoding encoding;
    EncodingBasis basis;
  };
  const Case cases[] = {
      {"UTF-8 under a Shift_JIS declaration", kSmall, DataEncoding::kAuto, XmlEncoding::kUtf8,
       EncodingBasis::kContent},
      {"code page 932", EncodeCp932(U16(kSmall)), DataEncoding::kAuto, XmlEncoding::kCp932,
       EncodingBasis::kContent},
      {"UTF-16 LE", Utf16(kSmall, false), DataEncoding::kAuto, XmlEncoding::kUtf16,
       EncodingBasis::kContent},
      {"UTF-16 BE", Utf16(kSmall, true), DataEncoding::kAuto, XmlEncoding::kUtf16,
       EncodingBasis::kContent},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + kSmall, DataEncoding::kAuto, XmlEncoding::kUtf8,
       EncodingBasis::kContent},
      {"code page 932 chosen", EncodeCp932(U16(kSmall)), DataEncoding::kCp932, XmlEncoding::kCp932,
       EncodingBasis::kChosen},
      {"UTF-8 chosen", kSmall, DataEncoding::kUtf8, XmlEncoding::kUtf8, EncodingBasis::kChosen},
      {"a UTF-16 mark beats the choice", Utf16(kSmall, false), DataEncoding::kCp932,
       XmlEncoding::kUtf16, EncodingBasis::kContent},
      {"ASCII only", ascii, DataEncoding::kAuto, XmlEncoding::kCp932, EncodingBasis::kDefault},
      {"ASCII only, UTF-8 chosen", ascii, DataEncoding::kUtf8, XmlEncoding::kUtf8,
       EncodingBasis::kChosen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const XmlDocument d = ParseBedXml(c.bytes, kPath, c.choice);
    EXPECT_EQ(d.encoding, c.encoding);
    EXPECT_EQ(d.basis, c.basis);
    if (c.bytes == ascii) {
      EXPECT_EQ(d.root.ChildText(u"b"), u"x");
      continue;
    }
    EXPECT_EQ(d.declaredEncoding, u"Shift_JIS");
    EXPECT_EQ(d.doctypeSystem, u"BED0300.DTD");
    EXPECT_EQ(BedVersion(d), u"3.00");
    EXPECT_EQ(d.root.name, u"ボーリング情報");
    ASSERT_EQ(d.root.children.size(), 1u);
    const XmlElement& title = d.root.children[0];
    EXPECT_EQ(title.line, 4);
    EXPECT_EQ(title.ChildText(u"調査名"), u"○○土質調査 & 試験");
    EXPECT_EQ(title.Child(u"調査名")->line, 5);
    EXPECT_EQ(title.Child(u"備考")->text, u"a<b＆c");
    EXPECT_EQ(d.root.Descendants(u"備考").size(), 1u);
  }
}

// The start tags of a file as its text shows them: name and line, in file order.
std::vector<std::pair<Text, long>> StartTags(const Text& text) {
  std::vector<std::pair<Text, long>> tags;
  long line = 1;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == u'\n') ++line;
    if (text[i] != u'<' || Text(u"/!?").find(text[i + 1]) != Text::npos) continue;
    const size_t end = text.find_first_of(u" \t\r\n/>", i + 1);
    tags.emplace_back(text.substr(i + 1, end - i - 1), line);
  }
  return tags;
}

void PreOrder(const XmlElement& e, std::vector<std::pair<Text, long>>& out) {
  out.emplace_back(e.name, e.line);
  for (const XmlElement& child : e.children) PreOrder(child, out);
}

TEST(BedXmlTest, ReadsTheGuidelinesExamplesOfEveryVersion) {
  const test::fs::path folder = test::ExamplesDir() / "bed";
  ASSERT_TRUE(test::fs::exists(folder / "BED0300.XML")) << folder;
  const std::pair<const char*, const char16_t*> files[] = {{"BED0110.XML", u"1.10"},
                                                           {"BED0210.XML", u"2.10"},
                                                           {"BED0300.XML", u"3.00"},
                                                           {"BED0400.XML", u"4.00"}};
  for (const auto& [name, version] : files) {
    SCOPED_TRACE(name);
    const std::string bytes = test::ReadBytes(folder / name);
    const XmlDocument d = ParseBedXml(bytes, U16(name));
    EXPECT_EQ(d.encoding, XmlEncoding::kCp932);
    EXPECT_EQ(d.declaredEncoding, u"Shift_JIS");
    EXPECT_EQ(BedVersion(d), version);
    XmlDocument withoutAttribute = d;
    withoutAttribute.root.attributes.clear();
    EXPECT_EQ(BedVersion(withoutAttribute), version) << "from " << U8(d.doctypeSystem);
    // Every element, in file order, with the name and the line of its start tag.
    std::vector<std::pair<Text, long>> elements;
    PreOrder(d.root, elements);
    EXPECT_EQ(elements, StartTags(DecodeCp932(bytes)));
    // An element's text as the file holds it between its tags.
    const Text text = DecodeCp932(bytes);
    const size_t open = text.find(u"<調査名>") + 5;
    const Text expected = text.substr(open, text.find(u"</調査名>") - open);
    ASSERT_FALSE(d.root.Descendants(u"調査名").empty());
    EXPECT_EQ(d.root.Descendants(u"調査名")[0]->text, expected);
    EXPECT_NE(expected.find(u"調査"), Text::npos);
  }
}

TEST(BedXmlTest, AFileCutAnywhereStopsWhereItsTextEnds) {
  const test::fs::path file = test::ExamplesDir() / "bed" / "BED0300.XML";
  ASSERT_TRUE(test::fs::exists(file)) << file;
  const std::string cp932 = test::ReadBytes(file);
  ASSERT_GT(cp932.size(), 20000u);
  // In code page 932 and in UTF-8: a cut falls inside characters of either.
  for (const bool utf8 : {false, true}) {
    SCOPED_TRACE(utf8 ? "UTF-8" : "code page 932");
    const std::string bytes = utf8 ? U8(DecodeCp932(cp932)) : cp932;
    int cuts = 0;
    for (size_t cut = 997; cut < bytes.size(); cut += 997) {
      SCOPED_TRACE(cut);
      Text text = utf8 ? U16(bytes.substr(0, cut)) : DecodeCp932(bytes.substr(0, cut));
      // The part of a character the cut leaves is no character.
      while (utf8 && !text.empty() && text.back() == u'\uFFFD') text.pop_back();
      try {
        ParseBedXml(bytes.substr(0, cut), kPath);
        ADD_FAILURE() << "a cut file was read";
      } catch (const ProblemError& e) {
        ++cuts;
        EXPECT_EQ(e.GetProblem(), Problem::kXmlNotWellFormed);
        EXPECT_EQ(e.Values(), std::vector<Text>{Text(kXmlFaultEnd)});
        ASSERT_TRUE(e.Place().has_value());
        EXPECT_EQ(e.Place()->line, LineNumberAt(text, text.size()));
        EXPECT_EQ(e.Place()->column, ColumnAt(text, text.size()));
      }
    }
    EXPECT_EQ(cuts, static_cast<int>((bytes.size() - 1) / 997));
  }
}

TEST(BedXmlTest, EachFaultStopsWithItsProblemAndPlace) {
  struct Case {
    const char* what;
    std::string bytes;
    DataEncoding choice;
    Problem problem;
    std::u16string_view value;
    long line, column;
  };
  const DataEncoding a = DataEncoding::kAuto;
  const Case cases[] = {
      {"end tag of another name", "<a>\r\n <b>x</c>\r\n</a>", a, Problem::kXmlNotWellFormed,
       kXmlFaultMismatch, 2, 6},
      {"element closed by its parent's end tag", "<a>\r\n<b>\r\n</a>", a,
       Problem::kXmlNotWellFormed, kXmlFaultMismatch, 3, 1},
      {"a second root", "<a>漢</a>\n<b/>", a, Problem::kXmlNotWellFormed, kXmlFaultRoots, 2, 1},
      {"no element", "<?xml version=\"1.0\"?>\n", a, Problem::kXmlNotWellFormed, kXmlFaultNoRoot, 2,
       1},
      {"an attribute without quotes", "<a>\n<b x=1/></a>", a, Problem::kXmlNotWellFormed,
       kXmlFaultTag, 2, 6},
      {"a bad character reference", "<a>&#xZZ;</a>", a, Problem::kXmlNotWellFormed, kXmlFaultOther,
       1, 7},
      {"the end inside a start tag", "<a>\n<あい", a, Problem::kXmlNotWellFormed, kXmlFaultEnd, 2,
       4},
      {"UTF-8 cut inside a character", "<a>\n漢字漢字\xE5\xAD", a, Problem::kXmlNotWellFormed,
       kXmlFaultEnd, 2, 5},
      {"UTF-8 cut inside a character after the root", "<a>\n漢字漢字</a>\xE5\xAD", a,
       Problem::kNotUtf8Byte, u"0xE5", 2, 9},
      {"a zero character inside", std::string("<a>\0</a>", 8), a, Problem::kXmlNotWellFormed,
       kXmlFaultOther, 1, 4},
      {"a zero character after the root", std::string("<a/>\0<b/>\0", 10), a,
       Problem::kXmlNotWellFormed, kXmlFaultOther, 1, 5},
      {"a stray byte in UTF-8", "<a>\n漢字\xFF</a>", a, Problem::kNotUtf8Byte, u"0xFF", 2, 3},
      {"a character code page 932 lacks", "<a>\n漢字\xE2\x98\x83</a>", a, Problem::kNotCp932, u"☃",
       2, 3},
      {"the same in UTF-16", Utf16("<a>\n漢字☃</a>", true), a, Problem::kNotCp932, u"☃", 2, 3},
      {"the same as a reference", "<a>\n <b>x&#x2603;</b></a>", a, Problem::kNotCp932, u"☃", 2, 6},
      {"the same in an attribute", "<a v=\"&#9731;\"/>", a, Problem::kNotCp932, u"☃", 1, 7},
      // Two half-width katakana in code page 932 are one Greek letter in UTF-8.
      {"UTF-8 chosen", "<a>\n\xCF\xBB</a>", DataEncoding::kUtf8, Problem::kNotCp932, u"ϻ", 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      ParseBedXml(c.bytes, kPath, c.choice);
      ADD_FAILURE() << "read";
    } catch (const ProblemError& e) {
      EXPECT_EQ(e.GetProblem(), c.problem);
      ASSERT_FALSE(e.Values().empty());
      EXPECT_EQ(e.Values()[0], c.value);
      EXPECT_EQ(e.File(), kPath);
      EXPECT_EQ(e.Kind(), ErrorKind::kData);
      ASSERT_TRUE(e.Place().has_value());
      EXPECT_EQ(e.Place()->line, c.line);
      EXPECT_EQ(e.Place()->column, c.column);
      const Text message = ErrorMessage(e);
      EXPECT_NE(message.find(kPath), Text::npos) << U8(message);
      EXPECT_NE(message.find(u"行目 " + U16(std::to_string(c.column)) + u" 文字目"), Text::npos)
          << U8(message);
    }
  }
  // Without the choice the two bytes are two katakana.
  EXPECT_EQ(ParseBedXml("<a>\n\xCF\xBB</a>", kPath).root.text, u"\nﾏｻ");
  // Ctrl-Z and zero characters at the end of the file are no part of the XML.
  EXPECT_EQ(ParseBedXml(std::string("<a>x</a>\r\n\x1A\0\0", 13), kPath).root.text, u"x");
}

TEST(BedXmlTest, EachFaultHasItsOwnWords) {
  try {
    ParseBedXml("<a>\r\n <b>x</c>\r\n</a>", kPath);
    ADD_FAILURE() << "read";
  } catch (const ProblemError& e) {
    EXPECT_EQ(
        ErrorMessage(e),
        u"ファイル \"T:\\BORING\\DATA\\BED0001.XML\" の 2 行目 6 文字目の終了タグの名前が"
        u"開始タグと合わず、XML として正しく書かれていないため、読めません。変換できません。");
  }
  std::vector<Text> messages;
  for (std::u16string_view key : {kXmlFaultEnd, kXmlFaultTag, kXmlFaultMismatch, kXmlFaultNoRoot,
                                  kXmlFaultRoots, kXmlFaultOther}) {
    const ProblemError e(Problem::kXmlNotWellFormed, {Text(key)}, kPath, ErrorKind::kData,
                         DataPlace{3, 4, 0, 0, 0, Text()});
    messages.push_back(ErrorMessage(e));
    EXPECT_NE(messages.back().find(u"3 行目 4 文字目の"), Text::npos) << U8(messages.back());
    for (size_t i = 0; i + 1 < messages.size(); ++i) EXPECT_NE(messages[i], messages.back());
  }
}

TEST(BedXmlTest, LooksUpChildrenDescendantsAttributesAndVersions) {
  const XmlDocument d = ParseBedXml(
      "<r DTD_version=\" 2.10 \"><x>\u3000 a b\t\r\n</x><y><x>2</x></y><x>3</x></r>", kPath);
  EXPECT_EQ(d.root.ChildText(u"x"), u"a b");
  EXPECT_EQ(d.root.ChildText(u"z"), u"");
  EXPECT_EQ(d.root.Child(u"z"), nullptr);
  std::vector<Text> found;
  for (const XmlElement* e : d.root.Descendants(u"x")) found.push_back(e->text);
  EXPECT_EQ(found, (std::vector<Text>{u"\u3000 a b\t\n", u"2", u"3"}));
  EXPECT_EQ(d.root.Attribute(u"DTD_version"), std::optional<Text>(u" 2.10 "));
  EXPECT_EQ(d.root.Attribute(u"none"), std::nullopt);
  EXPECT_EQ(BedVersion(d), u"2.10");
  XmlDocument bare = d;
  bare.root.attributes.clear();
  EXPECT_EQ(BedVersion(bare), u"");
  bare.doctypeSystem = u"../dtd/bed0201.dtd";
  EXPECT_EQ(BedVersion(bare), u"2.01");
  bare.doctypeSystem = u"BORING.DTD";
  EXPECT_EQ(BedVersion(bare), u"");
}

}  // namespace
}  // namespace ostra
