// ostraconv-drive: works a running ostraconv.exe as a user would, through window messages only,
// and converts one data set with it:
//
//   ostraconv-drive [--keep-open] FOLDER FILE DEST SECONDS
//
// It waits for the main window, chooses FOLDER's drive in the source drive list, opens the
// drive's root and then each folder of FOLDER in the source folder list, chooses FILE in the
// file list, types DEST into the destination box, clicks 実  行 and answers the question with
// はい. When the message line reads the completion message it prints the two text boxes and the
// message line, the window's place on the screen, and closes the window (not with --keep-open).
// Any other message box fails the drive. Everything must be done within SECONDS.
//
// Printed in UTF-8, one line each: "Question: ..." for each question answered, then
// "Text1: ...", "Text2: ...", "Label3: ...", "Window: LEFT TOP WIDTH HEIGHT". Exit status 0 when
// the conversion completed (and the window closed), 1 when it did not, 2 for a wrong command.
// Built for the packaged program's check and its screenshot; not part of the package.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "win/control_ids.h"

namespace {

namespace ids = ostra::win;

constexpr const wchar_t* kCompleted = L"変換が正常に終了しました。";
constexpr const wchar_t* kYes = L"はい";
constexpr DWORD kPoll = 50;  // milliseconds between two looks at the window

struct Failure {
  std::wstring what;
};

[[noreturn]] void Fail(const std::wstring& what) {
  throw Failure{what};
}

void Write(DWORD handle, const std::wstring& text) {
  const std::wstring line = text + L"\n";
  const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), size,
                      nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(handle), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
            nullptr);
}

class Deadline {
 public:
  explicit Deadline(double seconds)
      : end_(GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000)) {}
  bool Passed() const { return GetTickCount64() >= end_; }
  // Milliseconds left, at least 1.
  UINT Left() const {
    const ULONGLONG now = GetTickCount64();
    return now >= end_ ? 1 : static_cast<UINT>(end_ - now);
  }

 private:
  ULONGLONG end_;
};

// A message sent to a window of the program, waiting for it no longer than the deadline.
LRESULT Send(const Deadline& deadline, HWND window, UINT message, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, w, l, SMTO_NORMAL, deadline.Left(), &result)) {
    Fail(L"the window did not answer message " + std::to_wstring(message) + L" in time");
  }
  return static_cast<LRESULT>(result);
}

std::wstring TextOf(const Deadline& deadline, HWND window) {
  const LRESULT length = Send(deadline, window, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got =
      Send(deadline, window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::wstring(buffer.data(), static_cast<size_t>(got));
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return L"";
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// The lines of a list box or a combo box.
std::vector<std::wstring> Lines(const Deadline& deadline, HWND list, bool combo) {
  const UINT count = combo ? CB_GETCOUNT : LB_GETCOUNT;
  const UINT length = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT text = combo ? CB_GETLBTEXT : LB_GETTEXT;
  std::vector<std::wstring> lines;
  const LRESULT rows = Send(deadline, list, count, 0, 0);
  for (LRESULT row = 0; row < rows; ++row) {
    const LRESULT size = Send(deadline, list, length, row, 0);
    std::vector<wchar_t> buffer(static_cast<size_t>(size > 0 ? size : 0) + 1, L'\0');
    Send(deadline, list, text, row, reinterpret_cast<LPARAM>(buffer.data()));
    lines.emplace_back(buffer.data());
  }
  return lines;
}

std::wstring Joined(const std::vector<std::wstring>& lines) {
  std::wstring all;
  for (const std::wstring& line : lines) all += L" [" + line + L"]";
  return all;
}

class Driver {
 public:
  explicit Driver(const Deadline& deadline) : deadline_(deadline) {}

  // Waits for the main window to have filled its lists and text boxes at start-up.
  void WaitReady() {
    for (;; Sleep(kPoll)) {
      Check(L"waiting for the window");
      main_ = FindWindowW(ids::kMainClass, nullptr);
      if (main_ != nullptr && IsWindowVisible(main_)) {
        GetWindowThreadProcessId(main_, &process_);
        AnswerBoxes(false);
        DWORD_PTR rows = 0;
        if (SendMessageTimeoutW(Control(ids::kDrive1), CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kPoll,
                                &rows) &&
            static_cast<LRESULT>(rows) > 0 && !TextOf(deadline_, Control(ids::kText1)).empty()) {
          return;
        }
      }
    }
  }

  // Chooses the drive of `folder` and opens its folders one by one from the root.
  void OpenFolder(const std::wstring& folder) {
    if (folder.size() < 2 || folder[1] != L':') Fail(L"not a folder on a drive: " + folder);
    HWND drives = Control(ids::kDrive1);
    const std::vector<std::wstring> lines = Lines(deadline_, drives, true);
    int row = -1;
    for (size_t i = 0; i < lines.size() && row < 0; ++i) {
      const std::wstring line = Trimmed(lines[i]);
      if (line.size() >= 2 && line[1] == L':' && SameText(line.substr(0, 1), folder.substr(0, 1)))
        row = static_cast<int>(i);
    }
    if (row < 0) Fail(L"the drive list has no drive " + folder.substr(0, 2) + Joined(lines));
    Send(deadline_, drives, CB_SETCURSEL, row, 0);
    Send(deadline_, main_, WM_COMMAND, MAKEWPARAM(ids::kDrive1, CBN_SELCHANGE),
         reinterpret_cast<LPARAM>(drives));
    if (Send(deadline_, drives, CB_GETCURSEL, 0, 0) != row)
      Fail(L"the drive list went back from " + lines[static_cast<size_t>(row)]);

    // The first line of the folder list is the drive's root.
    std::wstring path = folder.substr(0, 2) + L"\\";
    OpenRow(0, path);
    size_t start = 3;
    while (start < folder.size()) {
      size_t end = folder.find(L'\\', start);
      if (end == std::wstring::npos) end = folder.size();
      const std::wstring name = folder.substr(start, end - start);
      start = end + 1;
      if (name.empty()) continue;
      const std::vector<std::wstring> rows = Lines(deadline_, Control(ids::kDir1), false);
      int found = -1;
      for (size_t i = 1; i < rows.size() && found < 0; ++i) {
        if (SameText(Trimmed(rows[i]), name)) found = static_cast<int>(i);
      }
      if (found < 0) Fail(L"the folder list has no " + name + Joined(rows));
      path += (path.back() == L'\\' ? L"" : L"\\") + name;
      OpenRow(found, path);
    }
    folder_ = path;
  }

  // Chooses `file` in the file list: Text1 names it.
  void ChooseFile(const std::wstring& file) {
    HWND files = Control(ids::kFile1);
    const std::vector<std::wstring> lines = Lines(deadline_, files, false);
    int row = -1;
    for (size_t i = 0; i < lines.size() && row < 0; ++i) {
      if (SameText(Trimmed(lines[i]), file)) row = static_cast<int>(i);
    }
    if (row < 0) Fail(L"the file list has no " + file + Joined(lines));
    Send(deadline_, files, LB_SETCURSEL, row, 0);
    Send(deadline_, main_, WM_COMMAND, MAKEWPARAM(ids::kFile1, LBN_SELCHANGE),
         reinterpret_cast<LPARAM>(files));
    const std::wstring expected = folder_ + (folder_.back() == L'\\' ? L"" : L"\\") + file;
    const std::wstring text1 = TextOf(deadline_, Control(ids::kText1));
    if (!SameText(text1, expected)) Fail(L"Text1 reads " + text1 + L", not " + expected);
  }

  void TypeDestination(const std::wstring& destination) {
    HWND text2 = Control(ids::kText2);
    Send(deadline_, text2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(destination.c_str()));
    const std::wstring typed = TextOf(deadline_, text2);
    if (typed != destination) Fail(L"Text2 reads " + typed + L" after typing " + destination);
  }

  // Clicks 実  行 (posted: the run asks a modal question) and answers questions until the
  // message line reads the completion message.
  void Execute() {
    PostMessageW(Control(ids::kCommand1), BM_CLICK, 0, 0);
    for (;; Sleep(kPoll)) {
      Check(L"waiting for the conversion to end");
      AnswerBoxes(true);
      DWORD_PTR length = 0;
      // The window answers between the steps of a run: a look that finds it busy is repeated.
      if (!SendMessageTimeoutW(Control(ids::kLabel3), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                               kPoll, &length) ||
          length == 0) {
        continue;
      }
      if (TextOf(deadline_, Control(ids::kLabel3)) == kCompleted) return;
    }
  }

  void Report() {
    Write(STD_OUTPUT_HANDLE, L"Text1: " + TextOf(deadline_, Control(ids::kText1)));
    Write(STD_OUTPUT_HANDLE, L"Text2: " + TextOf(deadline_, Control(ids::kText2)));
    Write(STD_OUTPUT_HANDLE, L"Label3: " + TextOf(deadline_, Control(ids::kLabel3)));
    RECT place = {};
    GetWindowRect(main_, &place);
    Write(STD_OUTPUT_HANDLE, L"Window: " + std::to_wstring(place.left) + L" " +
                                 std::to_wstring(place.top) + L" " +
                                 std::to_wstring(place.right - place.left) + L" " +
                                 std::to_wstring(place.bottom - place.top));
  }

  // Closes the window with its close box and waits for the program to end.
  void Close() {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, process_);
    PostMessageW(main_, WM_CLOSE, 0, 0);
    for (; IsWindow(main_); Sleep(kPoll)) Check(L"waiting for the window to close");
    if (process != nullptr) {
      const DWORD waited = WaitForSingleObject(process, deadline_.Left());
      CloseHandle(process);
      if (waited != WAIT_OBJECT_0) Fail(L"the program did not end after its window closed");
    }
  }

  // The message boxes open: what each says and its buttons.
  static std::wstring OpenBoxes(DWORD process) {
    struct Found {
      DWORD process;
      std::wstring text;
    } found{process, L""};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& found = *reinterpret_cast<Found*>(data);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if ((found.process == 0 || owner == found.process) && IsWindowVisible(window) &&
              ClassOf(window) == L"#32770") {
            wchar_t text[512] = {};
            for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
              GetWindowTextW(child, text, 512);
              found.text += std::wstring(L" [") + text + L"]";
            }
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.text;
  }

 private:
  HWND Control(int id) const {
    HWND control = GetDlgItem(main_, id);
    if (control == nullptr) Fail(L"the window has no control " + std::to_wstring(id));
    return control;
  }

  void Check(const std::wstring& doing) const {
    if (deadline_.Passed()) Fail(L"time is up " + doing);
    if (main_ != nullptr && !IsWindow(main_)) Fail(L"the window closed " + doing);
  }

  // Opens line `row` of the source folder list (a double click): Text1 then names the folder.
  void OpenRow(int row, const std::wstring& expected) {
    HWND dir1 = Control(ids::kDir1);
    Send(deadline_, dir1, LB_SETCURSEL, row, 0);
    Send(deadline_, main_, WM_COMMAND, MAKEWPARAM(ids::kDir1, LBN_DBLCLK),
         reinterpret_cast<LPARAM>(dir1));
    const std::wstring text1 = TextOf(deadline_, Control(ids::kText1));
    if (!SameText(text1, expected)) Fail(L"Text1 reads " + text1 + L" after opening " + expected);
  }

  // Answers the program's message boxes: a question with はい when `questions` (it is printed),
  // anything else fails the drive once it is closed.
  void AnswerBoxes(bool questions) {
    std::vector<HWND> boxes;
    struct Search {
      DWORD process;
      std::vector<HWND>* boxes;
    } search{process_, &boxes};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& search = *reinterpret_cast<Search*>(data);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner == search.process && IsWindowVisible(window) && ClassOf(window) == L"#32770")
            search.boxes->push_back(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    for (HWND box : boxes) {
      std::wstring text;
      HWND yes = nullptr;
      HWND first = nullptr;
      for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
           child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring words = TextOf(deadline_, child);
        if (ClassOf(child) == L"Button") {
          if (first == nullptr) first = child;
          if (words == kYes) yes = child;
        } else if (!words.empty()) {
          text += words;
        }
      }
      if (questions && yes != nullptr) {
        Write(STD_OUTPUT_HANDLE, L"Question: " + text);
        PostMessageW(yes, BM_CLICK, 0, 0);
      } else {
        if (first != nullptr) PostMessageW(first, BM_CLICK, 0, 0);
        Fail(L"the program showed the message " + text);
      }
      for (; IsWindow(box) && IsWindowVisible(box); Sleep(kPoll)) {
        Check(L"waiting for the message box to close");
      }
    }
  }

  const Deadline& deadline_;
  HWND main_ = nullptr;
  DWORD process_ = 0;
  std::wstring folder_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  bool keepOpen = false;
  if (!args.empty() && args.front() == L"--keep-open") {
    keepOpen = true;
    args.erase(args.begin());
  }
  double seconds = 0;
  if (args.size() == 4) seconds = std::wcstod(args[3].c_str(), nullptr);
  if (args.size() != 4 || seconds <= 0) {
    Write(STD_ERROR_HANDLE, L"usage: ostraconv-drive [--keep-open] FOLDER FILE DEST SECONDS");
    return 2;
  }
  const Deadline deadline(seconds);
  Driver driver(deadline);
  try {
    driver.WaitReady();
    driver.OpenFolder(args[0]);
    driver.ChooseFile(args[1]);
    driver.TypeDestination(args[2]);
    driver.Execute();
    driver.Report();
    if (!keepOpen) driver.Close();
  } catch (const Failure& failure) {
    Write(STD_ERROR_HANDLE, L"ostraconv-drive: " + failure.what);
    const std::wstring boxes = Driver::OpenBoxes(0);
    if (!boxes.empty()) Write(STD_ERROR_HANDLE, L"ostraconv-drive: message boxes open:" + boxes);
    return 1;
  }
  return 0;
}
