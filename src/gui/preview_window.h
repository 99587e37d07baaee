// Windows added to the converter: the picture of the converted boring log and the run report.
#pragma once

#include <QPlainTextEdit>
#include <QScrollArea>
#include <QWidget>
#include <QtSvgWidgets/QSvgWidget>
#include <string>

#include "base/codec.h"
#include "env/env.h"
#include "preview/boring_log_model.h"

namespace ostra {

inline constexpr const char16_t* kPreviewCaption = u"柱状図";
inline constexpr const char16_t* kReportCaption = u"変換結果";

// The boring-log picture of a destination folder, drawn from the SVG that the renderer makes,
// in a scrolling view.
class BoringLogWindow : public QWidget {
  Q_OBJECT

 public:
  explicit BoringLogWindow(QWidget* parent = nullptr);

  // Renders the folder's picture anew and shows it.
  void ShowFolder(Env& env, const Text& folder);
  // Shows the picture of a model already read (a trial run's, whose folder is gone).
  void ShowModel(const Text& folder, const BoringLogModel& model);
  // Shows a picture already drawn (a trial run's, whose folder is gone), titled with `folder`.
  void ShowSvg(const Text& folder, std::string svg);

  const Text& Folder() const { return folder_; }
  const std::string& Svg() const { return svg_; }
  QSvgWidget* View() const { return view_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Text folder_;
  std::string svg_;
  QScrollArea* scroll_ = nullptr;
  QSvgWidget* view_ = nullptr;
};

// The report of the last run, as read-only text.
class RunReportWindow : public QWidget {
  Q_OBJECT

 public:
  explicit RunReportWindow(QWidget* parent = nullptr);

  void SetReport(const Text& text);
  QPlainTextEdit* TextPane() const { return text_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPlainTextEdit* text_ = nullptr;
};

}  // namespace ostra
