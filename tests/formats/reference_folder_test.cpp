// The reference folder reads each table once and keeps it; what it holds in memory after any
// sequence of registrations is what a reference folder opened anew from the files holds.
#include "formats/reference_folder.h"

#include <gtest/gtest.h>

#include <random>

#include "base/errors.h"
#include "env/files.h"
#include "env/memory_env.h"
#include "run/error_text.h"
#include "support/test_support.h"

namespace ostra {
namespace {

constexpr const char16_t* kFolder = u"W:\\PATDAT\\";

TEST(ReferenceFolderTest, CodeTablesNameTheirFaults) {
  MemoryEnv env;
  env.SetFile(u"W:\\PATDAT\\L4.TXT", "1,C\r\n2,L\r\n\"3\",\"M\"\r\n");
  env.SetFile(u"W:\\PATDAT\\L9.TXT", "1,A\r\n2\r\n");
  ReferenceFolder tables(env, kFolder);
  const CodeTable& t = tables.Codes(u"L4.TXT", 50);
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[2].code, u"3");
  EXPECT_EQ(t[2].key, u"M");
  ReferenceFolder again(env, kFolder);
  EXPECT_THROW(again.Codes(u"L4.TXT", 2), RunError);
  try {
    tables.Codes(u"L10.TXT", 40);
    FAIL() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(ErrorMessage(e).find(u"W:\\PATDAT\\L10.TXT"), Text::npos);
  }
  EXPECT_THROW(tables.Codes(u"L9.TXT", 40), RunError);
}

TEST(ReferenceFolderTest, ATableIsReadOnceAndAMissingOneCanBeCreated) {
  MemoryEnv env;
  env.SetFile(u"W:\\PATDAT\\L1.TXT", "1,A\r\n");
  ReferenceFolder tables(env, kFolder);
  EXPECT_EQ(tables.Content(u"L1.TXT"), u"1,A\r\n");
  env.SetFile(u"W:\\PATDAT\\L1.TXT", "2,B\r\n");
  EXPECT_EQ(tables.Content(u"l1.txt"), u"1,A\r\n");  // kept for the run, whatever the spelling
  EXPECT_FALSE(tables.Exists(u"L3.TXT"));
  EXPECT_THROW(tables.Content(u"L3.TXT"), RunError);
  tables.CreateEmpty(u"L3.TXT");
  EXPECT_EQ(env.File(u"W:\\PATDAT\\L3.TXT"), "");
  EXPECT_EQ(tables.Content(u"L3.TXT"), u"");
}

// Counts the reads of files.
class CountingEnv : public MemoryEnv {
 public:
  std::string ReadFile(const Text& path) override {
    ++reads;
    return MemoryEnv::ReadFile(path);
  }
  int reads = 0;
};

TEST(ReferenceFolderTest, KeptBetweenRunsTablesAreReadAnewOnlyWhenAnotherProgramChangedThem) {
  CountingEnv env;
  env.SetFile(u"W:\\PATDAT\\L1.TXT", "1,A\r\n");
  env.SetFile(u"W:\\PATDAT\\L16.TXT", " 1,X\r\n");
  ReferenceFolder tables(env, kFolder);
  ASSERT_EQ(tables.Content(u"L1.TXT"), u"1,A\r\n");
  // This run's own registration, noted with the rest at its end.
  tables.AppendLine(kTableL16, u" 2,Y");
  tables.MarkCurrent();
  // Unchanged since: the next run starts from what is kept, reading no table again.
  tables.DropIfChanged();
  const int reads = env.reads;
  EXPECT_EQ(tables.Content(u"L1.TXT"), u"1,A\r\n");
  EXPECT_EQ(tables.ClassTableOf(kTableL16).MaxCode(), 2);
  EXPECT_EQ(env.reads, reads);
  // Another program corrected a table without changing its size: every table is read anew.
  env.SetFile(u"W:\\PATDAT\\L1.TXT", "1,B\r\n");
  tables.DropIfChanged();
  EXPECT_EQ(tables.Content(u"L1.TXT"), u"1,B\r\n");
  tables.MarkCurrent();
  // Another program registered a class meanwhile.
  AppendLines(env, u"W:\\PATDAT\\L16.TXT", {u" 3,Z"});
  tables.DropIfChanged();
  EXPECT_EQ(tables.ClassTableOf(kTableL16).MaxCode(), 3);
  // A table that appeared counts as a change too.
  EXPECT_FALSE(tables.Exists(u"L3.TXT"));
  tables.MarkCurrent();
  env.SetFile(u"W:\\PATDAT\\L3.TXT", "");
  tables.DropIfChanged();
  EXPECT_TRUE(tables.Exists(u"L3.TXT"));
}

TEST(ReferenceFolderTest, TablesSavedAsUtf8OrWithDataAfterACtrlZAreRefused) {
  MemoryEnv env;
  env.SetFile(u"W:\\PATDAT\\L1.TXT", "1,\xE8\xA1\xA8\xE5\x9C\x9F\r\n");  // "1,表土" in UTF-8
  env.SetFile(u"W:\\PATDAT\\L2.TXT",
              "\xEF\xBB\xBF"
              "1,A\r\n");  // a byte order mark
  env.SetFile(u"W:\\PATDAT\\KISHITU.TXT", "1001,A,,,,\r\n\x1A\r\n1002,B,,,,\r\n");
  env.SetFile(u"W:\\PATDAT\\L13.TXT", "1,A\r\n2,B\r\n\x1A  \r\n");
  env.SetFile(u"W:\\PATDAT\\L3.TXT", EncodeCp932(u"1,表土\r\n"));
  // Half-width katakana pairs that also read as UTF-8 ("ﾏｻ" is CF BB) are code page 932.
  env.SetFile(u"W:\\PATDAT\\L16.TXT", EncodeCp932(u"1,ﾏｻ\r\n"));
  ReferenceFolder tables(env, kFolder);
  for (const char16_t* name : {u"L1.TXT", u"L2.TXT"}) {
    try {
      tables.Content(name);
      ADD_FAILURE() << "no error for " << test::U8(name);
    } catch (const RunError& e) {
      EXPECT_NE(ErrorMessage(e).find(Text(kFolder) + name), Text::npos);
      EXPECT_NE(ErrorMessage(e).find(u"UTF-8"), Text::npos);
    }
  }
  EXPECT_EQ(tables.Content(u"L3.TXT"), u"1,表土\r\n");  // code page 932 as before
  EXPECT_EQ(tables.Content(u"L16.TXT"), u"1,ﾏｻ\r\n");
  try {
    tables.DictionaryOf(kTableKishitu);
    ADD_FAILURE() << "no error";
  } catch (const RunError& e) {
    EXPECT_NE(ErrorMessage(e).find(u"の 2 行目に"), Text::npos) << test::U8(ErrorMessage(e));
  }
  // A Ctrl-Z with nothing but blanks after it is the table's end, as it always was.
  EXPECT_EQ(tables.ClassTableOf(kTableL13).MaxCode(), 2);
}

// Tables as people leave them: no line end at the end, an empty line, a Ctrl-Z, blanks.
void PutAwkwardTables(MemoryEnv& env) {
  auto put = [&](const char16_t* name, const std::string& utf8) {
    env.SetFile(Text(kFolder) + name, EncodeCp932(FromUtf8(utf8)));
  };
  put(u"KISHITU.TXT",
      "5012,花崗岩（粗粒）,    ,    ,    ,0000\r\n1001,泥岩（黒）,    ,    ,    ,0000\r\n"
      "1002,チャート,    ,    ,    ,0000");
  put(u"XKISHITU.TXT",
      "2000,凝灰岩,    ,    ,    ,0000,余分\r\n2001,粘板岩,    ,    ,0000\r\n"
      "4000,予約,    ,    ,    ,0000\r\n  \r\n\x1A");
  put(u"L13.TXT", " 1,CM\r\n 2,ｶﾞﾗ\r\n\r\n");
  put(u"L14.TXT", "3,ＣＭ\r\n5,CM\r\n\x1A");
  put(u"L17.TXT", " 1,      ,CM\r\n 2,      ,\"Ｄ\"  ");
}

const std::vector<Text> kNames = {u"花崗岩", u"花崗岩（粗粒）", u"泥岩", u"凝灰岩",  u"粘板岩",
                                  u"新岩A",  u"新岩B",          u"予約", u"チャート"};
const std::vector<Text> kClasses = {u"ＣＭ", u"ＣＬ", u"ｶﾞﾗ", u"ガラ", u"Ｄ", u"新級"};
const std::vector<const TableInfo*> kSomeClassTables = {&kTableL13, &kTableL14, &kTableL17};

// Everything a lookup can see of the tables.
void ExpectSame(ReferenceFolder& memory, ReferenceFolder& fresh, int step) {
  for (const TableInfo* table : {&kTableKishitu, &kTableXkishitu}) {
    EXPECT_EQ(memory.DictionaryOf(*table).Lines(), fresh.DictionaryOf(*table).Lines()) << step;
    for (const Text& soil : kNames) {
      EXPECT_EQ(memory.DictionaryOf(*table).FindExact(soil),
                fresh.DictionaryOf(*table).FindExact(soil))
          << step << " " << test::U8(soil);
    }
  }
  for (const TableInfo* table : {&kTableKishitu, &kTableXkishitu, &kTableL13, &kTableL17}) {
    EXPECT_EQ(memory.Content(table->name), fresh.Content(table->name)) << step;
  }
  for (const TableInfo* table : kSomeClassTables) {
    EXPECT_EQ(memory.ClassTableOf(*table).MaxCode(), fresh.ClassTableOf(*table).MaxCode()) << step;
    for (const Text& cls : kClasses) {
      EXPECT_EQ(memory.ClassTableOf(*table).LastCode(cls), fresh.ClassTableOf(*table).LastCode(cls))
          << step << " " << test::U8(cls);
    }
  }
}

TEST(ReferenceFolderTest, InMemoryEqualsOpenedAnewAfterAnySequenceOfRegistrations) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    MemoryEnv env;
    PutAwkwardTables(env);
    ReferenceFolder memory(env, kFolder);
    for (int step = 0; step < 12; ++step) {
      const Text name = kNames[pick(kNames.size())] + Text(pick(3), u'＋');
      switch (pick(3)) {
        case 0:  // a name found or registered goes on at the end of KISHITU.TXT
          memory.AppendLine(kTableKishitu, u"2" + Text(3, static_cast<char16_t>(u'0' + pick(10))) +
                                               u"," + name + u",    ,    ,    ,0000");
          break;
        case 1: {  // a new name goes into XKISHITU.TXT before a chosen line, written anew
                   // without the blank lines and Ctrl-Z at its end
          const std::vector<Text>& lines = memory.DictionaryOf(kTableXkishitu).Lines();
          size_t keep = lines.size();
          while (keep > 0 && lines[keep - 1].find_first_not_of(u" \x1A") == Text::npos) --keep;
          memory.InsertLine(kTableXkishitu, keep, pick(keep + 1),
                            u"2100," + name + u",    ,    ,    ,0000");
          break;
        }
        default: {  // a class name
          const TableInfo& table = *kSomeClassTables[pick(kSomeClassTables.size())];
          const Text cls = kClasses[pick(kClasses.size())];
          memory.AppendLine(table, u"9" + Text(1, static_cast<char16_t>(u'0' + pick(10))) +
                                       (table.layout.nameField == 2 ? u",      ," : u",") + cls);
        }
      }
      ReferenceFolder fresh(env, kFolder);
      ExpectSame(memory, fresh, step);
      if (HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace ostra
