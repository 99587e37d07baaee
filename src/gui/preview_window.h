// Windows added to the converter: the picture of the converted boring log and the run report.
#pragma once

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "base/codec.h"
#include "env/drive_map_env.h"
#include "env/env.h"
#include "formats/data_set_encoding.h"
#include "gui/boring_log_view.h"
#include "preview/boring_log_model.h"

namespace ostra {

inline constexpr const char16_t* kPreviewCaption = u"柱状図";
inline constexpr const char16_t* kReportCaption = u"変換結果";

// Turns a drive-form path into its host path; empty when it has none.
using HostPathOf = std::function<std::filesystem::path(const Text& driveForm)>;
// The host paths of `env`'s drive map (`env` must outlive the function).
HostPathOf HostPathsThrough(DriveMapEnv& env);

// The boring-log picture of a data set at a true depth scale (1:100 at first), with
// the choice of scale, printing and PDF (both only when there is a picture to show). Ctrl+wheel,
// Ctrl++ and Ctrl+- change the scale; Esc closes the window.
class BoringLogWindow : public QWidget {
  Q_OBJECT

 public:
  explicit BoringLogWindow(QWidget* parent = nullptr);

  // Reads the picture of the data set whose MDT or XML file is `source` (drive form) and shows
  // it.
  void ShowSource(Env& env, const Text& source, DataEncoding encoding);
  // Shows the picture of a model already read from the data set `source`.
  void ShowModel(const Text& source, BoringLogModel model);

  // How the PDF dialog finds the host folder of the data set shown; without it the dialog starts
  // in the user's home folder.
  void SetHostPaths(HostPathOf hostPathOf) { hostPathOf_ = std::move(hostPathOf); }
  // Where the PDF dialog starts: in the data set's folder (its nearest existing folder above
  // when it is gone), offering the hole's name with ".pdf" (see PictureFileName).
  QString PdfStartPath() const;

  // The data set shown (its MDT or XML file).
  const Text& Source() const { return source_; }
  const BoringLogModel& Model() const { return view_->Model(); }
  BoringLogView* View() const { return view_; }
  // Chooses a scale as the scale box does (kFitScale: fit to the window).
  void SetScale(double denominator);
  // Saves the picture at the chosen scale (1:100 when fitted) as A4 pages; false on failure.
  bool SavePdf(const QString& path);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Print();
  void AskAndSavePdf();
  // The scale for paper: the chosen one, 1:100 when the picture is fitted to the window.
  double PaperScale() const;

  Text source_;
  HostPathOf hostPathOf_;
  QComboBox* scaleBox_ = nullptr;
  QPushButton* printButton_ = nullptr;
  QPushButton* pdfButton_ = nullptr;
  BoringLogView* view_ = nullptr;
};

// The report of the last run, as read-only text. Esc closes it.
class RunReportWindow : public QWidget {
  Q_OBJECT

 public:
  explicit RunReportWindow(QWidget* parent = nullptr);

  void SetReport(const Text& text);
  QPlainTextEdit* TextPane() const { return text_; }
  // The choice of the data's encoding, in the order of DataEncoding: decided from the files,
  // Shift-JIS, UTF-8. Choosing one runs the trial again with it.
  QComboBox* EncodingBox() const { return encodingBox_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPlainTextEdit* text_ = nullptr;
  QComboBox* encodingBox_ = nullptr;
};

}  // namespace ostra
