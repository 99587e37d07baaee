// Where the controls of the Windows window go: their kinds, captions and places in twips, in
// the order of their tab indexes, and the conversion of twips to the pixels of a monitor.
#pragma once

#include <vector>

#include "app/form_view.h"
#include "win/control_ids.h"

namespace ostra::win {

// The client area of the window in twips: the original panel and the strip of added buttons.
inline constexpr int kClientWidthTwips = 9090;
inline constexpr int kPanelHeightTwips = 6495;
inline constexpr int kStripHeightTwips = 735;
inline constexpr int kClientHeightTwips = kPanelHeightTwips + kStripHeightTwips;
// The panel Picture1: the part of the client area whose mouse moves clear the completion line.
inline constexpr ScreenRect kPanelTwips{0, 0, 9075, kPanelHeightTwips};

enum class ControlKind { kLabel, kEdit, kFrame, kFileList, kFolderList, kDriveList, kButton };

struct ControlSpec {
  ControlId id;
  ControlKind kind;
  const wchar_t* caption;
  ScreenRect twips;  // within the client area (a frame's offset already added)
};

// Every control, in tab-index order (labels and frames take no focus but keep their place).
const std::vector<ControlSpec>& Controls();
const ControlSpec* FindControl(int id);

// A rectangle in twips on a monitor of `dpi` dots per inch, in pixels: each edge is rounded to
// the nearest pixel, so that controls that meet in twips meet on the screen.
ScreenRect TwipsToPixels(const ScreenRect& twips, int dpi);
int TwipsToPixels(int twips, int dpi);

}  // namespace ostra::win
