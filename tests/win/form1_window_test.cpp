// The Windows window, made for real in this process and driven only through window messages,
// as a user's clicks and keys reach it.
#include "win/form1_window.h"

#include <gtest/gtest.h>

#include <map>

#include "base/windows_api.h"
#include "env/host_env.h"
#include "run/convert.h"
#include "run/run.h"
#include "support/test_support.h"
#include "win/form1_layout.h"
#include "win/message_box.h"

namespace ostra::win {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

std::wstring W(const Text& t) {
  return std::wstring(t.begin(), t.end());
}

// Answers the message boxes of this thread from a timer: clicks the button with the text
// `answer` (else the first one, so that an unexpected box does not stop the test) and notes
// each box's message and buttons.
struct Box {
  std::wstring message;
  std::vector<std::wstring> buttons;
};
struct BoxAnswerer {
  // `key`: instead of a click, the key (a WM_KEYDOWN of a virtual key, or a WM_CHAR) goes to
  // the box's focused button.
  explicit BoxAnswerer(std::wstring answer, UINT keyMessage = 0, WPARAM key = 0)
      : answer_(std::move(answer)), keyMessage_(keyMessage), key_(key) {
    current = this;
    timer_ = SetTimer(nullptr, 0, 20, &BoxAnswerer::Tick);
  }
  ~BoxAnswerer() {
    KillTimer(nullptr, timer_);
    current = nullptr;
  }
  std::vector<Box> boxes;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &BoxAnswerer::Found, 0);
  }
  static BOOL CALLBACK Found(HWND window, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (current == nullptr || std::wstring(name) != L"#32770" || !IsWindowVisible(window)) {
      return TRUE;
    }
    if (window == current->answered_) {
      // A key that did not answer: the first button does, so that the test goes on.
      if (HWND button = FindWindowExW(window, nullptr, L"Button", nullptr)) {
        SendMessageW(button, BM_CLICK, 0, 0);
      }
      return FALSE;
    }
    Box box;
    HWND click = nullptr;
    HWND first = nullptr;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
      GetClassNameW(c, name, 16);
      const std::wstring cls(name);
      if (cls == L"Button") {
        box.buttons.push_back(WindowText(c));
        if (first == nullptr) first = c;
        if (box.buttons.back() == current->answer_) click = c;
      } else if (cls == L"Static" && !WindowText(c).empty()) {
        box.message = WindowText(c);
      }
    }
    current->boxes.push_back(box);
    current->answered_ = window;
    if (current->keyMessage_ != 0) {
      PostMessageW(GetFocus(), current->keyMessage_, current->key_, 1);
      return FALSE;
    }
    SendMessageW(click != nullptr ? click : first, BM_CLICK, 0, 0);
    return FALSE;
  }
  static inline BoxAnswerer* current = nullptr;
  std::wstring answer_;
  UINT keyMessage_ = 0;
  WPARAM key_ = 0;
  UINT_PTR timer_ = 0;
  HWND answered_ = nullptr;
};

// A drive T: with the sample data set in T:\GEO and its reference folder T:\PATDAT, and P:,
// the program's folder (the run marks there that it extended the dictionaries).
struct SampleDrive {
  SampleDrive() : host(NewHostEnv(nullptr)) {
    fs::create_directories(temp.Root() / "GEO");
    for (const char* s : {"MDT", "BDT", "KDT", "NDT", "LDT", "CDT"}) {
      const std::string name = std::string(s) + "0001.GDF";
      fs::copy_file(test::ExamplesDir() / name, temp.Root() / "GEO" / name);
    }
    test::CopyExamplePatdat(temp.Root() / "PATDAT");
    DriveMap drives;
    drives.Set(u'T', temp.Root());
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    programFolder = fs::path(program).parent_path();
    drives.Set(u'P', programFolder);
    env = std::make_unique<DriveMapEnv>(*host, drives);
  }
  test::TempDrive temp;
  std::unique_ptr<Env> host;
  std::unique_ptr<DriveMapEnv> env;
  fs::path programFolder;
};

// Every file of a folder by name.
std::map<std::string, std::string> FilesOf(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder)) {
    files[e.path().filename().string()] = ReadBytes(e.path());
  }
  return files;
}

// The core run, as the command line makes it, for the window's outputs to be compared with.
class YesObserver : public RunObserver {
 public:
  void Status(const Text&) override {}
  bool Ask(const Text&) override { return true; }
  void Warn(const Text&) override {}
};

int RowOf(HWND list, const std::wstring& trimmed) {
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::wstring line(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, row, 0)) + 1, L'\0');
    line.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, row, (LPARAM)line.data())));
    if (line.substr(line.find_first_not_of(L' ')) == trimmed) return row;
  }
  return -1;
}

void Notify(HWND parent, int id, int code) {
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)GetDlgItem(parent, id));
}

TEST(Form1WindowTest, MessageBoxKeysAnswer) {
  struct Case {
    bool yesNo;
    UINT message;
    WPARAM key;
    bool answer;
  };
  const Case cases[] = {{true, WM_KEYDOWN, VK_ESCAPE, false},
                        {true, WM_CHAR, L'y', true},
                        {true, WM_CHAR, L'n', false},
                        {true, WM_KEYDOWN, VK_RETURN, true},
                        {false, WM_KEYDOWN, VK_ESCAPE, true}};
  for (const Case& c : cases) {
    BoxAnswerer answerer(L"", c.message, c.key);
    const bool answer = ShowMessageBox(nullptr, {u"フォルダがありません。新規作成しますか？",
                                                 MsgIcon::kQuestion, Text(), c.yesNo});
    ASSERT_EQ(answerer.boxes.size(), 1u);
    EXPECT_EQ(answer, c.answer) << c.message << " " << c.key;
    EXPECT_EQ(answerer.boxes[0].buttons, c.yesNo ? std::vector<std::wstring>({L"はい", L"いいえ"})
                                                 : std::vector<std::wstring>({L"OK"}));
  }
}

TEST(Form1WindowTest, TwipsBecomePixelsOfTheMonitor) {
  // File1 lies in Frame1: its place in the window is the sum of both.
  const ScreenRect file1 = FindControl(kFile1)->twips;
  EXPECT_EQ(file1.left, 360);
  EXPECT_EQ(file1.top, 2100);
  const ScreenRect at96 = TwipsToPixels(file1, 96);
  EXPECT_EQ(std::vector<int>({at96.left, at96.top, at96.width, at96.height}),
            std::vector<int>({24, 140, 161, 146}));
  const ScreenRect at144 = TwipsToPixels(file1, 144);
  EXPECT_EQ(std::vector<int>({at144.left, at144.top, at144.width, at144.height}),
            std::vector<int>({36, 210, 242, 219}));

  // The window puts every control there, and walks them in the form's tab order.
  SampleDrive d;
  Form1Window window(GetModuleHandleW(nullptr), *d.env, d.temp.Root());
  ASSERT_TRUE(window.Open(SW_SHOWNORMAL));
  for (const ControlSpec& spec : Controls()) {
    const ScreenRect want = TwipsToPixels(spec.twips, window.Dpi());
    RECT r{};
    GetWindowRect(window.Control(spec.id), &r);
    MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, want.left) << spec.id;
    EXPECT_EQ(r.top, want.top) << spec.id;
    EXPECT_EQ(r.right - r.left, want.width) << spec.id;
    if (spec.kind != ControlKind::kDriveList) {
      EXPECT_EQ(r.bottom - r.top, want.height) << spec.id;
    }
  }
  // The report button waits for a run's report.
  const std::vector<int> order = {kDir1,   kDrive1,       kFile1,        kDir2,
                                  kDrive2, kCommand1,     kCommand2,     kText1,
                                  kText2,  kDryRunButton, kPreviewButton};
  HWND at = window.Control(kDir1);
  for (size_t i = 1; i <= order.size(); ++i) {
    at = GetNextDlgTabItem(window.Handle(), at, FALSE);
    EXPECT_EQ(GetDlgCtrlID(at), order[i % order.size()]) << i;
  }

  // Moved to a monitor of 144 dpi, the window lays itself out anew.
  RECT suggested{};
  GetWindowRect(window.Handle(), &suggested);
  SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), (LPARAM)&suggested);
  RECT r{};
  GetWindowRect(window.Control(kFile1), &r);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(std::vector<int>({r.left, r.top, r.right - r.left, r.bottom - r.top}),
            std::vector<int>({36, 210, 242, 219}));
  GetClientRect(window.Handle(), &r);
  EXPECT_EQ(r.right, TwipsToPixels(kClientWidthTwips, 144));
  EXPECT_EQ(r.bottom, TwipsToPixels(kClientHeightTwips, 144));
}

TEST(Form1WindowTest, EnterOpensTheFolderLineWithTheFocus) {
  SampleDrive d;
  Form1Window window(GetModuleHandleW(nullptr), *d.env, d.temp.Root());
  ASSERT_TRUE(window.Open(SW_SHOWNORMAL));
  HWND dir1 = window.Control(kDir1);
  const int geo = RowOf(dir1, L"GEO");
  ASSERT_GE(geo, 0);
  SetFocus(dir1);
  SendMessageW(dir1, LB_SETCURSEL, geo, 0);
  // The key goes through the window's keyboard handling, as the message loop hands it on.
  MSG key{dir1, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  if (!window.PreTranslate(key)) DispatchMessageW(&key);
  EXPECT_EQ(WindowText(window.Control(kText1)), L"T:\\GEO");
  EXPECT_EQ(SendMessageW(window.Control(kFile1), LB_GETCOUNT, 0, 0), 1);
}

TEST(Form1WindowTest, ConvertsTheSampleAsTheCoreRunDoes) {
  SampleDrive d;
  // The window starts on P:, the program's folder.
  Form1Window window(GetModuleHandleW(nullptr), *d.env, d.programFolder);
  ASSERT_TRUE(window.Open(SW_SHOWNORMAL));
  HWND main = window.Handle();
  EXPECT_EQ(WindowText(main), W(kFormCaption));
  EXPECT_EQ(WindowText(window.Control(kText1)), L"P:\\");

  const LRESULT t = SendMessageW(window.Control(kDrive1), CB_FINDSTRING, -1, (LPARAM)L"T:");
  ASSERT_GE(t, 0);
  SendMessageW(window.Control(kDrive1), CB_SETCURSEL, t, 0);
  Notify(main, kDrive1, CBN_SELCHANGE);
  const int geo = RowOf(window.Control(kDir1), L"GEO");
  ASSERT_GE(geo, 0);
  SendMessageW(window.Control(kDir1), LB_SETCURSEL, geo, 0);
  Notify(main, kDir1, LBN_DBLCLK);
  EXPECT_EQ(WindowText(window.Control(kText1)), L"T:\\GEO");
  ASSERT_EQ(SendMessageW(window.Control(kFile1), LB_GETCOUNT, 0, 0), 1);
  SendMessageW(window.Control(kFile1), LB_SETCURSEL, 0, 0);
  Notify(main, kFile1, LBN_SELCHANGE);
  SendMessageW(window.Control(kText2), WM_SETTEXT, 0, (LPARAM)L"T:\\OUT\\P001\\SITE\\B-1");

  BoxAnswerer answerer(W(kButtonYes));
  SendMessageW(window.Control(kCommand1), BM_CLICK, 0, 0);
  // One box: the question whether to create the folder, with the Japanese buttons.
  ASSERT_EQ(answerer.boxes.size(), 1u);
  EXPECT_EQ(answerer.boxes[0].buttons, std::vector<std::wstring>({L"はい", L"いいえ"}));
  EXPECT_EQ(WindowText(window.Control(kText1)), L"T:\\GEO\\MDT0001.GDF");
  EXPECT_EQ(WindowText(window.Control(kText2)), L"T:\\OUT\\P001\\SITE\\B-1");
  EXPECT_EQ(WindowText(window.Control(kLabel3)), L"変換が正常に終了しました。");
  EXPECT_TRUE(IsWindowEnabled(window.Control(kReportButton)));

  // The same data set through the core run on a drive of its own: the same bytes.
  SampleDrive core;
  ConversionRequest request;
  request.source = u"T:\\GEO\\MDT0001.GDF";
  request.destination = u"T:\\OUT\\P001\\SITE\\B-1";
  request.referenceFolder = u"T:\\PATDAT\\";
  YesObserver yes;
  ASSERT_TRUE(Convert(request, *core.env, yes).completed);
  for (const char* folder : {"OUT/P001/SITE/B-1", "PATDAT"}) {
    const auto got = FilesOf(d.temp.Root() / folder);
    const auto want = FilesOf(core.temp.Root() / folder);
    EXPECT_GT(want.size(), 1u) << folder;
    EXPECT_TRUE(got == want) << folder;
  }
}

TEST(Form1WindowTest, ARefusedDestinationIsSelectedForMending) {
  SampleDrive d;
  Form1Window window(GetModuleHandleW(nullptr), *d.env, d.temp.Root() / "GEO");
  ASSERT_TRUE(window.Open(SW_SHOWNORMAL));
  SendMessageW(window.Control(kFile1), LB_SETCURSEL, 0, 0);
  Notify(window.Handle(), kFile1, LBN_SELCHANGE);
  const std::wstring refused = L"T:\\OUT\\B 1";
  SendMessageW(window.Control(kText2), WM_SETTEXT, 0, (LPARAM)refused.c_str());
  BoxAnswerer answerer(W(kButtonOk));
  SendMessageW(window.Control(kCommand1), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.boxes.size(), 1u);
  EXPECT_EQ(answerer.boxes[0].message,
            W(Text(kMsgBadPath) +
              u"階層「B 1」に空白があります（パスに空白、「*」、「?」は使えません）。"));
  EXPECT_EQ(answerer.boxes[0].buttons, std::vector<std::wstring>({L"OK"}));
  EXPECT_EQ(GetFocus(), window.Control(kText2));
  DWORD start = 1, end = 0;
  SendMessageW(window.Control(kText2), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, refused.size());
  EXPECT_EQ(WindowText(window.Control(kLabel3)), L"");
  EXPECT_FALSE(fs::exists(d.temp.Root() / "OUT"));
}

// While a run waits for another one, the user types into Text1, clicks Execute and then Exit.
struct LockWaitUser {
  explicit LockWaitUser(Form1Window& w) : window(&w) {
    current = this;
    timer = SetTimer(nullptr, 0, 20, &LockWaitUser::Tick);
  }
  ~LockWaitUser() {
    KillTimer(nullptr, timer);
    current = nullptr;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    LockWaitUser* u = current;
    if (u == nullptr || u->step == 2 || !IsWindow(u->window->Handle()) ||
        WindowText(u->window->Control(kLabel3)).find(L"使用中") == std::wstring::npos) {
      return;
    }
    auto click = [](HWND button) {
      PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    };
    if (u->step++ == 0) {
      PostMessageW(u->window->Control(kText1), WM_CHAR, L'X', 1);
      click(u->window->Control(kText1));
      click(u->window->Control(kCommand1));
      click(u->window->Control(kDryRunButton));
      return;
    }
    u->text1During = WindowText(u->window->Control(kText1));
    click(u->window->Control(kCommand2));
  }
  static inline LockWaitUser* current = nullptr;
  Form1Window* window;
  UINT_PTR timer = 0;
  int step = 0;
  std::wstring text1During;
};

TEST(Form1WindowTest, DuringALockWaitOnlyExitWorks) {
  SampleDrive d;
  Form1Window window(GetModuleHandleW(nullptr), *d.env, d.temp.Root() / "GEO");
  ASSERT_TRUE(window.Open(SW_SHOWNORMAL));
  window.Presenter().State().lockWait = std::chrono::seconds(60);
  std::unique_ptr<HeldLock> other = d.env->TryLock(u"T:\\PATDAT\\OSTRACONV.LCK");
  ASSERT_NE(other, nullptr);
  SendMessageW(window.Control(kFile1), LB_SETCURSEL, 0, 0);
  Notify(window.Handle(), kFile1, LBN_SELCHANGE);
  SendMessageW(window.Control(kText2), WM_SETTEXT, 0, (LPARAM)L"T:\\OUT\\B-1");

  BoxAnswerer answerer(W(kButtonYes));
  LockWaitUser user(window);
  SendMessageW(window.Control(kCommand1), BM_CLICK, 0, 0);
  EXPECT_EQ(user.step, 2);
  EXPECT_EQ(user.text1During, L"T:\\GEO\\MDT0001.GDF");
  // Only the folder question was asked; Exit gave the run up and closed the window before
  // anything was written.
  EXPECT_EQ(answerer.boxes.size(), 1u);
  EXPECT_FALSE(IsWindow(window.Handle()));
  EXPECT_FALSE(fs::exists(d.temp.Root() / "OUT"));
  EXPECT_FALSE(window.Presenter().State().completionShown);
}

}  // namespace
}  // namespace ostra::win
