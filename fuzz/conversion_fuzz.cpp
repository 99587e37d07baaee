// A whole conversion of arbitrary data sets: the input holds the six section files MDT, BDT,
// KDT, NDT, LDT and CDT one after the other, each ended by a byte 0x01 (a piece that is missing
// leaves its file out). Every run starts from a fresh copy of the bundled reference folder.
// Besides crashes it checks that the reference tables the run extends stay well-formed: whole
// CR LF lines with the right number of fields, nothing the folder held before lost.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "env/drive_map_env.h"
#include "env/files.h"
#include "env/host_env.h"
#include "formats/section_file.h"
#include "fuzz_support.h"
#include "run/convert.h"
#include "run/stop_error.h"

namespace ostra::fuzz {
namespace {

namespace fs = std::filesystem;

class QuietUi : public RunObserver {
 public:
  void Status(const Text&) override {}
  bool Ask(const Text&) override { return true; }
  void Warn(const Text&) override {}
};

std::string ReadHostFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteHostFile(const fs::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The program's path, for the folder that gets PATADD.txt.
const char* programPath = nullptr;

struct Workspace {
  fs::path root;
  std::unique_ptr<Env> host;
  std::unique_ptr<DriveMapEnv> env;
  std::map<std::string, std::string> patdat;  // file name -> bytes of the bundled table
};

Workspace& Space() {
  static Workspace* space = [] {
    auto* w = new Workspace;
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string templ = (base / "ostraconv-fuzz-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    w->root = templ;
    for (const auto& e : fs::directory_iterator(fs::path(OSTRA_SOURCE_DIR) / "examples/PATDAT")) {
      w->patdat[e.path().filename().string()] = ReadHostFile(e.path());
    }
    w->host = NewHostEnv(programPath);
    DriveMap drives = DriveMap::SystemDefaults();
    drives.Set(u'F', w->root);
    w->env = std::make_unique<DriveMapEnv>(*w->host, drives);
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(Space().root, ec);
    });
    return w;
  }();
  return *space;
}

// Fields per line of each table the run extends.
const std::map<std::string, int> kExtendedTables = {
    {"KISHITU.TXT", 6}, {"XKISHITU.TXT", 6}, {"L13.TXT", 2}, {"L14.TXT", 2},
    {"L15.TXT", 2},     {"L16.TXT", 2},      {"L17.TXT", 3}};

std::vector<std::string> SplitCrLf(const std::string& bytes, const std::string& name) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t end = bytes.find("\r\n", pos);
    OSTRA_FUZZ_CHECK(end != std::string::npos, name + " ends inside a line");
    const std::string line = bytes.substr(pos, end - pos);
    OSTRA_FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos,
                     name + " holds a broken line: " + ToUtf8(DecodeCp932(line)));
    lines.push_back(line);
    pos = end + 2;
  }
  return lines;
}

void CheckTable(const std::string& name, int fieldsPerLine) {
  const fs::path path = Space().root / "PATDAT" / name;
  OSTRA_FUZZ_CHECK(fs::exists(path), name + " is missing");
  const std::string before = Space().patdat[name];
  const std::string after = ReadHostFile(path);
  const std::vector<std::string> lines = SplitCrLf(after, name);
  for (const std::string& line : lines) {
    FieldReader reader(DecodeCp932(line), u"F:\\PATDAT\\" + FromUtf8(name));
    int fields = 0;
    while (!reader.AtEnd()) {
      reader.ReadText();
      ++fields;
    }
    OSTRA_FUZZ_CHECK(
        fields == fieldsPerLine || (line.empty() && name != "XKISHITU.TXT"),
        name + " line of " + std::to_string(fields) + " fields: " + ToUtf8(DecodeCp932(line)));
  }
  // Registrations add lines; XKISHITU.TXT takes them before its 4000 line, the others at the end.
  if (name != "XKISHITU.TXT") {
    OSTRA_FUZZ_CHECK(after.compare(0, before.size(), before) == 0, name + " lost its old lines");
  } else {
    const std::vector<std::string> old = SplitCrLf(before, name);
    size_t k = 0;
    for (const std::string& line : lines) {
      if (k < old.size() && line == old[k]) ++k;
    }
    OSTRA_FUZZ_CHECK(k == old.size(), name + " lost its old lines");
  }
}

}  // namespace
}  // namespace ostra::fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (*argc > 0) ostra::fuzz::programPath = (*argv)[0];
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace ostra;
  namespace fs = std::filesystem;
  fuzz::Workspace& space = fuzz::Space();
  std::error_code ec;
  fs::remove_all(space.root / "PATDAT", ec);
  fs::remove_all(space.root / "GEO", ec);
  fs::remove_all(space.root / "OUT", ec);
  fs::create_directories(space.root / "PATDAT");
  fs::create_directories(space.root / "GEO");
  for (const auto& [name, bytes] : space.patdat)
    fuzz::WriteHostFile(space.root / "PATDAT" / name, bytes);

  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (const char* section : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
    const size_t end = rest.find('\x01');
    if (end == std::string_view::npos) break;
    fuzz::WriteHostFile(space.root / "GEO" / (std::string(section) + "0001.GDF"),
                        rest.substr(0, end));
    rest.remove_prefix(end + 1);
  }

  ConversionRequest request;
  request.source = u"F:\\GEO\\MDT0001.GDF";
  request.destination = u"F:\\OUT\\P001\\SITE\\B-1";
  request.referenceFolder = u"F:\\PATDAT\\";
  request.lockWait = std::chrono::milliseconds(0);
  fuzz::QuietUi ui;
  const RunReport report = Convert(request, *space.env, ui);
  // A run that stops says why.
  OSTRA_FUZZ_CHECK(report.completed || (report.error && !StopMessages(*report.error).empty()),
                   "stopped silently");
  for (const auto& [name, fields] : fuzz::kExtendedTables) fuzz::CheckTable(name, fields);
  return 0;
}
