// The program's one window on Windows: the controls of the form at their places, shown through
// FormView and handing what the user does to the presenter Form1.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/form1.h"
#include "app/form_view.h"
#include "base/windows_api.h"
#include "win/added_windows.h"

namespace ostra::win {

class Form1Window : public FormView {
 public:
  // The window is made at once (hidden); `workingFolder` gives the presenter its current drive
  // and folder.
  Form1Window(HINSTANCE instance, DriveMapEnv& env, const std::filesystem::path& workingFolder);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // Start-up: the presenter finds the reference folder and fills the lists, and the window is
  // shown centred on its monitor. False when the program is to end (the message was shown).
  bool Open(int show);
  // Hands one message to the window's keyboard handling (tab order, Enter in the lists):
  // true when it took it, else the caller translates and dispatches it.
  bool PreTranslate(MSG& msg);
  // The message loop of the program, until the window is closed; returns the exit status.
  int Run();

  HWND Handle() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  Form1& Presenter() { return *form_; }
  int Dpi() const { return dpi_; }

  // The window procedure of the class kMainClass.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // FormView.
  Text Text1() const override;
  void SetText1(const Text& text) override;
  Text Text2() const override;
  void SetText2(const Text& text) override;
  void SetStatus(const Text& text) override;
  void ShowDrives(Selector list, const std::vector<Text>& lines, int selected) override;
  void ShowFolders(Selector list, const std::vector<FolderRow>& rows, int current) override;
  void ShowFiles(const std::vector<Text>& names, int selected) override;
  bool ShowBox(const MessageBoxRequest& request) override;
  void SetBusy(bool busy) override;
  void ProcessEvents() override;
  void DropInput() override;
  void SelectDestination() override;
  void SetReportEnabled(bool enabled) override;
  void ShowReport(const Text& text, DataEncoding encoding, bool raise) override;
  bool ReportOpen() const override;
  void ShowPicture(const Text& source, std::shared_ptr<const BoringLogModel> model,
                   bool raise) override;
  bool PictureOpen() const override;
  void CloseWindow() override;

 private:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  // Places the controls and sizes the window for `dpi`, with a font of that size.
  void Layout(int dpi);
  void OnCommand(int id, int code);
  // Enter: opens the line of a folder list, chooses the file, clicks a button.
  void OnEnter();
  void SetControlText(int id, const Text& text);
  Text ControlText(int id) const;
  // Passes pending messages; during a run input to anything but Exit is dropped.
  void PassMessages();

  HINSTANCE instance_;
  HWND window_ = nullptr;
  std::unique_ptr<Form1> form_;
  std::unique_ptr<ReportWindow> report_;
  std::unique_ptr<PictureWindow> picture_;
  HFONT font_ = nullptr;
  HBRUSH grey_ = nullptr;
  int dpi_ = 96;
  bool busy_ = false;
  bool closed_ = false;
  DWORD lastMousePos_ = 0xFFFFFFFF;
  std::wstring fontFace_;
};

// The Japanese font of the window: the first of Meiryo UI, Yu Gothic UI and MS UI Gothic that
// the system has with the Shift-JIS character set ("" when it has none of them).
std::wstring JapaneseFontFace();

// Registers the window classes of the program (once).
void RegisterForm1Class(HINSTANCE instance);

}  // namespace ostra::win
