// The windows the Windows window opens beside itself: the report of the last run and the
// picture of the boring log.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "app/form_view.h"

namespace ostra::win {

// The report of the last run as read-only text, with the choice of the data's encoding (in the
// order of DataEncoding). Esc closes it.
class ReportWindow {
 public:
  // `encodingChosen` is called when the user picks an encoding in the window.
  ReportWindow(HINSTANCE instance, std::function<void(DataEncoding)> encodingChosen);
  ~ReportWindow();
  ReportWindow(const ReportWindow&) = delete;
  ReportWindow& operator=(const ReportWindow&) = delete;

  // Opens the window beside `owner` (the first time) or brings it up when `raise`; else only
  // updates it when it is open.
  void Show(HWND owner, const Text& text, DataEncoding encoding, bool raise);
  bool IsOpen() const;
  HWND Handle() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The boring-log picture at a true depth scale (1:100 at first), with the choice of scale
// (1:50, 1:100, 1:200, 1:500, 全体表示), scrolling, Ctrl+wheel, and printing through the
// system's print dialog. Esc closes it.
class PictureWindow {
 public:
  explicit PictureWindow(HINSTANCE instance);
  ~PictureWindow();
  PictureWindow(const PictureWindow&) = delete;
  PictureWindow& operator=(const PictureWindow&) = delete;

  // As ReportWindow::Show, with the picture of the data set `source` (titled with it; printed
  // as a document named after the hole); a null model shows that there is nothing to draw.
  void Show(HWND owner, const Text& source, std::shared_ptr<const BoringLogModel> model,
            bool raise);
  bool IsOpen() const;
  HWND Handle() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ostra::win
