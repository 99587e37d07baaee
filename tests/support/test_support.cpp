#include "support/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <fstream>
#include <random>
#include <sstream>

#include "env/host_env.h"

#ifdef _WIN32
#include "base/windows_api.h"
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ostra::test {

namespace {

fs::path MakeTempFolder() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path p = base / ("ostra-test-" + std::to_string(rd()) + "-" + std::to_string(++counter));
    std::error_code ec;
    if (fs::create_directory(p, ec)) return p;
  }
  throw std::runtime_error("cannot create a temporary folder");
}

// A relative path with the host's separators.
std::string ToRelativeHost(const std::string& rel) {
  std::string out = rel;
#ifdef _WIN32
  const char from = '/', to = '\\';
#else
  const char from = '\\', to = '/';
#endif
  for (char& c : out) {
    if (c == from) c = to;
  }
  return out;
}

#ifdef _WIN32
std::wstring WideOf(const std::string& utf8) {
  Text t = FromUtf8(utf8);
  return std::wstring(t.begin(), t.end());
}

// One argument quoted the way the C runtime splits the command line back into argv:
// backslashes are literal except before a quote, where they and the quote are escaped.
std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
    } else {
      out.append(backslashes, L'\\');
    }
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

// This process's environment with the "NAME=value" entries set, as a CreateProcessW block.
std::wstring EnvironmentWith(const std::vector<std::string>& overrides) {
  std::vector<std::wstring> entries;
  if (wchar_t* current = GetEnvironmentStringsW()) {
    for (const wchar_t* p = current; *p != L'\0'; p += std::wcslen(p) + 1) entries.push_back(p);
    FreeEnvironmentStringsW(current);
  }
  auto nameOf = [](const std::wstring& e) {
    std::wstring name = e.substr(0, e.find(L'=', 1));
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    return name;
  };
  for (const std::string& o : overrides) {
    std::wstring entry = WideOf(o);
    std::wstring name = nameOf(entry);
    std::erase_if(entries, [&](const std::wstring& e) { return nameOf(e) == name; });
    entries.push_back(entry);
  }
  std::wstring block;
  for (const std::wstring& e : entries) {
    block += e;
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  return block;
}

std::string WithoutCr(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    out.push_back(s[i]);
  }
  return out;
}
#endif

}  // namespace

TempDrive::TempDrive(char16_t letter)
    : root_(MakeTempFolder()), letter_(letter), host_(NewHostEnv(nullptr)) {
  DriveMap drives = DriveMap::SystemDefaults();
  drives.Set(letter_, root_);
  env_ = std::make_unique<DriveMapEnv>(*host_, drives);
}

void TempDrive::Share(const TempDrive& other) {
  env_->Drives().Set(other.letter_, other.root_);
}

TempDrive::~TempDrive() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

Text TempDrive::Drive(const std::string& relativeUtf8) const {
  Text out;
  out.push_back(letter_);
  out += u":";
  if (relativeUtf8.empty()) return out;
  std::string rel = relativeUtf8;
  for (char& c : rel) {
    if (c == '/') c = '\\';
  }
  if (rel.front() != '\\') out += u"\\";
  out += FromUtf8(rel);
  return out;
}

fs::path TempDrive::Host(const std::string& relativeUtf8) const {
#ifdef _WIN32
  return root_ / fs::path(WideOf(ToRelativeHost(relativeUtf8)));
#else
  return root_ / fs::path(ToRelativeHost(relativeUtf8));
#endif
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::map<std::string, std::string> TreeSnapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    files[fs::relative(e.path(), root).string()] =
        e.is_regular_file() ? ReadBytes(e.path()) : "<folder>";
  }
  return files;
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void WriteSjis(const fs::path& file, const std::string& utf8) {
  if (file.has_parent_path()) fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  std::string bytes = EncodeCp932(FromUtf8(utf8));
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteSjisLines(const fs::path& file, const std::vector<std::string>& linesUtf8) {
  std::string all;
  for (const std::string& l : linesUtf8) all += l + "\r\n";
  WriteSjis(file, all);
}

std::string ReadSjis(const fs::path& file) {
  return ToUtf8(DecodeCp932(ReadBytes(file)));
}

std::vector<std::string> ReadSjisLines(const fs::path& file) {
  std::string text = ReadSjis(file);
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (line.find_first_of("\r\n") != std::string::npos) {
      ADD_FAILURE() << "bare line end in " << file << ": " << line;
    }
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line of " << file << " lacks CR LF: " << line;
      lines.push_back(line);
      break;
    }
    lines.push_back(line);
    pos = end + 2;
  }
  return lines;
}

fs::path ExamplesDir() {
  return fs::path(OSTRA_SOURCE_DIR) / "examples";
}

void CopyExamplePatdat(const fs::path& to) {
  fs::create_directories(to);
  fs::copy(ExamplesDir() / "PATDAT", to,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row(1);
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
      row.back() += c;
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == ',') {
      row.emplace_back();
    } else if (!quoted && c == '\r' && text.compare(i, 2, "\r\n") == 0) {
      rows.push_back(row);
      row.assign(1, std::string());
      ++i;
    } else {
      row.back() += c;
    }
  }
  EXPECT_EQ(row, std::vector<std::string>(1)) << "the last row ends with CR LF";
  return rows;
}

std::vector<std::vector<std::string>> ReadSummaryCsv(const fs::path& file) {
  const std::string bytes = ReadBytes(file);
  return bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? CsvRows(bytes.substr(3)) : CsvRows(ReadSjis(file));
}

void CopyExampleDataSet(const fs::path& to) {
  fs::create_directories(to);
  for (const char* section : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
    const std::string name = std::string(section) + "0001.GDF";
    fs::copy_file(ExamplesDir() / name, to / name, fs::copy_options::overwrite_existing);
  }
}

CliResult RunCli(const std::vector<std::string>& args, const std::vector<std::string>& env) {
#ifdef _WIN32
  // Redirected output is in the system's code page unless asked for as UTF-8.
  std::vector<std::string> utf8 = {"--utf8"};
  utf8.insert(utf8.end(), args.begin(), args.end());
  return RunCliAsIs(utf8, env);
#else
  return RunCliAsIs(args, env);
#endif
}

CliResult RunCliAsIs(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  return RunCliProcess(args, std::nullopt, env);
}

CliResult RunCliWithInput(const std::vector<std::string>& args,
                          const std::optional<std::string>& input,
                          const std::vector<std::string>& env) {
  std::vector<std::string> all = args;
#ifdef _WIN32
  all.insert(all.begin(), "--utf8");
#endif
  return RunCliProcess(all, input, env);
}

CliResult RunCliProcess(const std::vector<std::string>& args,
                        const std::optional<std::string>& input,
                        const std::vector<std::string>& env) {
  CliResult result;
#ifdef _WIN32
  fs::path outFolder = MakeTempFolder();
  fs::path so = outFolder / "stdout";
  fs::path se = outFolder / "stderr";
  std::wstring cli = WideOf(OSTRA_CLI_PATH);
  std::wstring commandLine = QuoteArgument(cli);
  for (const std::string& a : args) commandLine += L" " + QuoteArgument(WideOf(a));
  std::wstring block = EnvironmentWith(env);

  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  auto open = [&](const std::wstring& name, DWORD access, DWORD disposition) {
    return CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  fs::path stdinFile = outFolder / "stdin";
  if (input) WriteBytes(stdinFile, *input);
  HANDLE in = open(input ? stdinFile.wstring() : L"NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE out = open(so.wstring(), GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = open(se.wstring(), GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = in;
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  bool started = false;
  DWORD startError = 0;
  // Wine now and then fails to start a process when many start in a row: try a few times.
  for (int attempt = 0; attempt < 5 && !started; ++attempt) {
    if (attempt > 0) Sleep(200);
    started = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE &&
              err != INVALID_HANDLE_VALUE &&
              CreateProcessW(cli.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                             CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, block.data(), nullptr,
                             &si, &pi);
    if (!started) startError = GetLastError();
  }
  for (HANDLE h : {in, out, err}) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  if (!started) {
    ADD_FAILURE() << "cannot start " << OSTRA_CLI_PATH << " (error " << startError << ")";
  } else {
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    result.exitCode = static_cast<int>(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  // The program writes its console streams in text mode: CR LF there is a line end.
  result.out = WithoutCr(ReadBytes(so));
  result.err = WithoutCr(ReadBytes(se));
  std::error_code ec;
  fs::remove_all(outFolder, ec);
#else
  fs::path outFile = MakeTempFolder();
  fs::path so = outFile / "stdout";
  fs::path se = outFile / "stderr";
  if (input) WriteBytes(outFile / "stdin", *input);
  pid_t pid = fork();
  if (pid == 0) {
    std::vector<std::string> envCopy = env;
    for (const std::string& e : envCopy) {
      size_t eq = e.find('=');
      if (eq != std::string::npos) setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
    if (!freopen(so.c_str(), "wb", stdout) || !freopen(se.c_str(), "wb", stderr)) _exit(127);
    if (!freopen(input ? (outFile / "stdin").c_str() : "/dev/null", "rb", stdin)) _exit(127);
    std::vector<char*> argv;
    std::string cli = OSTRA_CLI_PATH;
    argv.push_back(cli.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(cli.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadBytes(so);
  result.err = ReadBytes(se);
  std::error_code ec;
  fs::remove_all(outFile, ec);
#endif
  return result;
}

}  // namespace ostra::test
