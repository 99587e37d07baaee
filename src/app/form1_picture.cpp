// The presenter's picture window: the boring log of the data set chosen in Text1, drawn again
// when another data set is chosen and after a run, with the note of a run that stopped part-way.
#include <exception>

#include "app/form1.h"
#include "base/sjis.h"
#include "formats/bed_data_set.h"
#include "formats/run_note.h"
#include "run/error_text.h"

namespace ostra {

namespace {

// A source the picture can show: an existing MDT file or boring exchange XML file.
bool IsDataSet(Env& env, const Text& source) {
  const size_t slash = source.find_last_of(u"\\:");
  const Text name = UpperAscii(slash == Text::npos ? source : source.substr(slash + 1));
  if (name.rfind(u"MDT", 0) != 0 && !IsBedSource(source)) return false;
  try {
    return env.IsSelectable(source);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

Text Form1::PictureSource() const {
  return Trim(view_.Text1());
}

void Form1::SetSource(const Text& text) {
  view_.SetText1(text);
  Text1_Change();
}

void Form1::Text1_Change() {
  if (running_ || !view_.PictureOpen()) return;
  const Text source = PictureSource();
  // While the user types, the picture stays until the text names another data set.
  if (source == shownSource_ || !IsDataSet(env_, source)) return;
  ShowPreview(false);
}

Text Form1::RunNoteFor(const Text& source) const {
  const RunReport& last = app_.lastReport;
  if (last.destination.empty() || last.source != source) return Text();
  if (last.dryRun) return trialNote_.value_or(Text());
  try {
    return ReadRunNote(env_, last.destination).value_or(Text());
  } catch (const std::exception&) {
    return Text();
  }
}

void Form1::ShowPreview(bool raise) {
  const Text source = PictureSource();
  std::shared_ptr<BoringLogModel> model;
  if (IsDataSet(env_, source)) {
    model = std::make_shared<BoringLogModel>(ReadBoringLogModel(
        env_, source, app_.encoding, [](const std::exception& e) { return ErrorMessage(e); }));
    model->stoppedRun = RunNoteFor(source);
  }
  shownSource_ = source;
  view_.ShowPicture(source, std::move(model), raise);
}

void Form1::PreviewButton_Click() {
  if (running_) return;
  ShowPreview(true);
}

}  // namespace ostra
