// A plain placement of the added windows: to the right of the main window, within the area.
#include "app/window_place.h"

#include <algorithm>

namespace ostra {

ScreenRect PlaceBeside(const ScreenRect& main, int width, int height, const ScreenRect& area,
                       int index) {
  ScreenRect placed{main.left + main.width + 24 * index, main.top + 24 * index,
                    std::min(width, area.width), std::min(height, area.height)};
  placed.left = std::clamp(placed.left, area.left, area.left + area.width - placed.width);
  placed.top = std::clamp(placed.top, area.top, area.top + area.height - placed.height);
  return placed;
}

}  // namespace ostra
