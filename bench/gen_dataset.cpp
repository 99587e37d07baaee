// ostra-gen: writes a large boring-log data set and its reference folder.
//
//   ostra-gen [--scale K] [--seed S] [--new-names N] [--new-class-names N] [--layers N]
//             [--bed VERSION] --out DIR
//
// DIR receives GEO\*.GDF, PATDAT\ and FACTS.TXT (the line counts one conversion yields); with
// --bed also GEO\BED0001.XML, the same boring as a boring exchange XML file.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "dataset.h"

namespace {

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "ostra-gen: %s\n", problem);
  std::fprintf(stderr,
               "Usage: ostra-gen [--scale K] [--seed S] [--new-names N] [--new-class-names N] "
               "[--layers N] [--bed VERSION] --out DIR\n"
               "  --scale K            multiplies records and dictionary sizes (1-%d, default 1)\n"
               "  --seed S             seed of the generator (default 1)\n"
               "  --new-names N        soil names new to the dictionaries (default 50)\n"
               "  --new-class-names N  class names new to L13.TXT-L17.TXT (default 50)\n"
               "  --layers N           layers of the boring (10-%d; default 2000 per scale); the\n"
               "                       other sections follow them\n"
               "  --bed VERSION        also GEO\\BED0001.XML of version 3.00 or 4.00\n"
               "  --out DIR            folder for GEO, PATDAT and FACTS.TXT\n",
               ostra::bench::kMaxScale, 2000 * ostra::bench::kMaxScale);
  return 2;
}

bool ToNumber(const char* text, unsigned long long& value) {
  char* end = nullptr;
  value = std::strtoull(text, &end, 10);
  return end && *end == '\0' && end != text;
}

}  // namespace

int main(int argc, char** argv) {
  ostra::bench::DataSetOptions options;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") return Usage(nullptr);
    if (i + 1 >= argc) return Usage(("missing value after " + a).c_str());
    const char* v = argv[++i];
    unsigned long long n = 0;
    if (a == "--out") {
      out = v;
      continue;
    }
    if (a == "--bed") {
      options.bedVersion = v;
      continue;
    }
    if (!ToNumber(v, n) || n > 1000000000ULL)
      return Usage(("not a number: " + std::string(v)).c_str());
    if (a == "--scale") {
      options.scale = static_cast<int>(n);
    } else if (a == "--seed") {
      options.seed = n;
    } else if (a == "--new-names") {
      options.newSoilNames = static_cast<int>(n);
    } else if (a == "--layers") {
      options.layers = static_cast<int>(n);
    } else if (a == "--new-class-names") {
      options.newClassNames = static_cast<int>(n);
    } else {
      return Usage(("unknown option " + a).c_str());
    }
  }
  if (out.empty()) return Usage("--out is required");
  try {
    const ostra::bench::DataSetFacts facts = ostra::bench::GenerateDataSet(out, options);
    const std::string text = ostra::bench::FactsText(facts);
    std::ofstream file(std::filesystem::path(out) / "FACTS.TXT",
                       std::ios::binary | std::ios::trunc);
    file << text;
    if (!file) throw std::runtime_error("cannot write FACTS.TXT");
    std::fputs(text.c_str(), stdout);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ostra-gen: %s\n", e.what());
    return 1;
  }
  return 0;
}
