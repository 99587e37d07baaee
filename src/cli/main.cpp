#include "cli/cli.h"

#ifdef _WIN32
#include <string>
#include <vector>

#include "base/codec.h"

// Windows hands the arguments over as UTF-16 (Japanese folder names included); the front end
// takes them as UTF-8, as on every other system.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) {
    std::wstring w(argv[i]);
    args.push_back(ostra::ToUtf8(ostra::Text(w.begin(), w.end())));
  }
  std::vector<char*> ptrs;
  for (std::string& a : args) ptrs.push_back(a.data());
  ptrs.push_back(nullptr);
  return ostra::CliMain(argc, ptrs.data());
}
#else
int main(int argc, char** argv) {
  return ostra::CliMain(argc, argv);
}
#endif
