// The program's one window in Qt: source file and destination folder selectors, Execute and
// Exit, and the added buttons. It draws what the presenter (Form1) tells it and hands the user's
// actions on to it.
#pragma once

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "app/form1.h"
#include "app/form_view.h"
#include "gui/preview_window.h"
#include "gui/qt_ui_port.h"
#include "gui/selectors.h"

namespace ostra {

class Form1Window : public QWidget, public FormView {
  Q_OBJECT

 public:
  explicit Form1Window(DriveMapEnv& env, QWidget* parent = nullptr);
  ~Form1Window() override;

  // Start-up: centres the window and runs the presenter's. Returns false when there is no
  // reference folder: the message has been shown, the window is closed and the program is to end.
  bool Form_Load();

  Form1& Presenter() { return *presenter_; }
  AppState& State() { return presenter_->State(); }
  // Replaces the message boxes (tests answer them without a modal dialog); an empty hook brings
  // the real ones back.
  void SetMessageBoxHook(MessageBoxHook hook) { hook_ = std::move(hook); }

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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void ConnectControls();
  // Shows an added window beside this one, the first or the second of them.
  void OpenBeside(QWidget* window);
  // Geometry in twips, converted to pixels at the screen's logical resolution.
  int Px(int twips) const;
  void Place(QWidget* w, int left, int top, int width, int height) const;

  DriveMapEnv& env_;
  double scale_ = 1.0;
  MessageBoxHook hook_;

  QFrame* picture1_ = nullptr;
  QLabel* label1_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLineEdit* text2_ = nullptr;
  QGroupBox* frame1_ = nullptr;
  FileList* file1_ = nullptr;
  FolderList* dir1_ = nullptr;
  DriveList* drive1_ = nullptr;
  QGroupBox* frame2_ = nullptr;
  FolderList* dir2_ = nullptr;
  DriveList* drive2_ = nullptr;
  QGroupBox* frame3_ = nullptr;
  QLabel* label3_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QPushButton* reportButton_ = nullptr;
  QPushButton* dryRunButton_ = nullptr;
  BoringLogWindow* previewWindow_ = nullptr;  // owned as child windows, made when first asked
  RunReportWindow* reportWindow_ = nullptr;
  // Made after the controls it speaks to.
  std::unique_ptr<Form1> presenter_;
};

}  // namespace ostra
