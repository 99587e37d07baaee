// The benchmark's generated data set is valid input: the command line converts it with exit 0
// and every output and reference table ends up with the line counts the generator announces.
#include <gtest/gtest.h>

#ifdef OSTRA_HAVE_DATASET

#include <map>
#include <stdexcept>
#include <string>
#include <tuple>

#include "dataset.h"
#include "support/test_support.h"

namespace ostra::test {
namespace {

using bench::DataSetFacts;
using bench::DataSetOptions;
using bench::GenerateDataSet;

long Growth(const DataSetFacts& facts, const std::string& table) {
  return facts.tableLinesAfter.at(table) - facts.tableLinesBefore.at(table);
}

TEST(LargeDataSetTest, ScaleOneConvertsWithTheAnnouncedLineCounts) {
  TempDrive drive;
  const DataSetFacts facts = GenerateDataSet(drive.Root(), DataSetOptions{});

  // The large data set: record counts and dictionary sizes.
  const std::map<std::string, long> records = {{"MDT", 2000}, {"BDT", 2000}, {"KDT", 500},
                                               {"NDT", 2000}, {"LDT1", 20},  {"LDT2", 2000},
                                               {"CDT", 199}};
  for (const auto& [section, count] : records) EXPECT_EQ(facts.records.at(section), count);
  EXPECT_EQ(facts.tableLinesBefore.at("KISHITU.TXT"), 10000);
  EXPECT_EQ(facts.tableLinesBefore.at("XKISHITU.TXT"), 2000);
  EXPECT_EQ(Growth(facts, "XKISHITU.TXT"), 50);  // one registration per new soil name
  long classGrowth = 0;
  for (const char* table : {"L13.TXT", "L14.TXT", "L15.TXT", "L16.TXT", "L17.TXT"}) {
    EXPECT_EQ(Growth(facts, table), 10) << table;
    classGrowth += Growth(facts, table);
  }
  EXPECT_EQ(classGrowth, 50);

  const CliResult result =
      RunCli({"--patdat", drive.Host("PATDAT").string(), "--yes",
              drive.Host("GEO/MDT0001.GDF").string(), drive.Host("OUT/P1/SITE/B-1").string()});
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;

  ASSERT_EQ(facts.outputLines.size(), 18u);  // every output file but CNT and the title files
  for (const auto& [name, lines] : facts.outputLines) {
    EXPECT_EQ(static_cast<long>(ReadSjisLines(drive.Host("OUT/P1/SITE/B-1/" + name)).size()), lines)
        << name;
  }
  for (const auto& [name, lines] : facts.tableLinesAfter) {
    EXPECT_EQ(static_cast<long>(ReadSjisLines(drive.Host("PATDAT/" + name)).size()), lines) << name;
  }
  // One X1.TXT line per layer; the last layer lies at 1000 m.
  const std::vector<std::string> x1 = ReadSjisLines(drive.Host("OUT/P1/SITE/B-1/X1.TXT"));
  ASSERT_EQ(x1.size(), 2000u);
  EXPECT_EQ(x1.back().substr(0, 12), "000,1000.00,");
}

// The generator's boring exchange XML file holds the same boring as its legacy files: converted
// from a fresh copy of the same reference folder, every output whose source the XML holds is the
// same file, and the reference tables gain the same lines, in both versions.
TEST(LargeDataSetTest, BedFileConvertsAsTheLegacySetOfTheSameSeed) {
  for (const char* version : {"3.00", "4.00"}) {
    TempDrive drive;
    DataSetOptions options;
    options.layers = 200;
    options.seed = 5;
    options.bedVersion = version;
    const DataSetFacts facts = GenerateDataSet(drive.Root(), options);
    ASSERT_EQ(facts.bedOutputLines.size(), 14u);
    fs::copy(drive.Host("PATDAT"), drive.Host("PATDAT-BED"), fs::copy_options::recursive);
    for (const auto& [source, patdat, out] :
         {std::tuple{"GEO/MDT0001.GDF", "PATDAT", "OUT/L"},
          std::tuple{"GEO/BED0001.XML", "PATDAT-BED", "OUT/B"}}) {
      const CliResult result = RunCli({"--patdat", drive.Host(patdat).string(), "--yes",
                                       drive.Host(source).string(), drive.Host(out).string()});
      ASSERT_EQ(result.exitCode, 0) << version << source << result.out << result.err;
    }
    for (const auto& [name, lines] : facts.bedOutputLines) {
      if (name == "X3.TXT" || name == "X7.txt") continue;  // fields the XML holds otherwise
      const std::string legacy = ReadBytes(drive.Host("OUT/L/" + name));
      EXPECT_EQ(ReadBytes(drive.Host("OUT/B/" + name)), legacy) << version << " " << name;
      EXPECT_EQ(static_cast<long>(ReadSjisLines(drive.Host("OUT/B/" + name)).size()), lines)
          << version << " " << name;
    }
    for (const auto& [name, lines] : facts.tableLinesAfter) {
      EXPECT_EQ(ReadBytes(drive.Host("PATDAT-BED/" + name)),
                ReadBytes(drive.Host("PATDAT/" + name)))
          << version << " " << name;
      EXPECT_EQ(static_cast<long>(ReadSjisLines(drive.Host("PATDAT-BED/" + name)).size()), lines)
          << version << " " << name;
    }
    for (const char* name : {"X3.TXT", "X7.txt"}) {
      EXPECT_EQ(static_cast<long>(ReadSjisLines(drive.Host(std::string("OUT/B/") + name)).size()),
                facts.bedOutputLines.at(name))
          << version << " " << name;
    }
  }
}

TEST(LargeDataSetTest, SeedDecidesTheBytes) {
  TempDrive first(u'U');
  TempDrive second(u'V');
  TempDrive other(u'X');
  DataSetOptions options;
  options.seed = 7;
  GenerateDataSet(first.Root(), options);
  GenerateDataSet(second.Root(), options);
  options.seed = 8;
  GenerateDataSet(other.Root(), options);
  for (const char* file : {"GEO/MDT0001.GDF", "GEO/BDT0001.GDF", "GEO/KDT0001.GDF",
                           "GEO/NDT0001.GDF", "GEO/LDT0001.GDF", "GEO/CDT0001.GDF",
                           "PATDAT/KISHITU.TXT", "PATDAT/XKISHITU.TXT", "PATDAT/L13.TXT"}) {
    EXPECT_EQ(ReadBytes(first.Host(file)), ReadBytes(second.Host(file))) << file;
  }
  EXPECT_NE(ReadBytes(first.Host("GEO/MDT0001.GDF")), ReadBytes(other.Host("GEO/MDT0001.GDF")));
  EXPECT_NE(ReadBytes(first.Host("PATDAT/KISHITU.TXT")),
            ReadBytes(other.Host("PATDAT/KISHITU.TXT")));
}

TEST(LargeDataSetTest, OptionsOutsideTheFormatLimitsAreRefused) {
  TempDrive drive;
  DataSetOptions options;
  options.scale = 0;
  EXPECT_THROW(GenerateDataSet(drive.Root(), options), std::invalid_argument);
  options.scale = bench::kMaxScale + 1;  // layer counters would pass 32767
  EXPECT_THROW(GenerateDataSet(drive.Root(), options), std::invalid_argument);
  options.scale = 1;
  options.newClassNames = 5 * 59 + 1;  // class codes would reach 100
  EXPECT_THROW(GenerateDataSet(drive.Root(), options), std::invalid_argument);
  options.newClassNames = 50;
  options.bedVersion = "2.10";  // the XML is written in 3.00 or 4.00 only
  EXPECT_THROW(GenerateDataSet(drive.Root(), options), std::invalid_argument);
  options.bedVersion = "";
  options.layers = 9;
  EXPECT_THROW(GenerateDataSet(drive.Root(), options), std::invalid_argument);
}

}  // namespace
}  // namespace ostra::test

#endif  // OSTRA_HAVE_DATASET
