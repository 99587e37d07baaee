#include "app/window_place.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace ostra {

namespace {

// How far a second added window is moved from the first.
constexpr int kCascade = 32;

int Clamp(int value, int low, int high) {
  return std::max(low, std::min(value, high));
}

// The first of `moves` that moves `r` within the area, else `r`.
ScreenRect Cascaded(const ScreenRect& r, std::initializer_list<std::pair<int, int>> moves,
                    const ScreenRect& area) {
  for (const auto& [dx, dy] : moves) {
    ScreenRect s = r;
    s.left = Clamp(r.left + dx * kCascade, area.left, area.left + area.width - r.width);
    s.top = Clamp(r.top + dy * kCascade, area.top, area.top + area.height - r.height);
    if (s.left != r.left || s.top != r.top) return s;
  }
  return r;
}

}  // namespace

ScreenRect PlaceBeside(const ScreenRect& main, int width, int height, const ScreenRect& area,
                       int index) {
  const int w = std::clamp(width, 0, std::max(area.width, 0));
  const int h = std::clamp(height, 0, std::max(area.height, 0));
  const int areaRight = area.left + area.width;
  const int areaBottom = area.top + area.height;
  const int mainRight = main.left + main.width;
  const int mainBottom = main.top + main.height;
  const bool second = index > 0;
  // Beside the main window, level with its top; a second window moves away from the first
  // without coming over the main window.
  const int besideTop = Clamp(main.top, area.top, areaBottom - h);
  const int overLeft = Clamp(main.left, area.left, areaRight - w);
  if (areaRight - mainRight >= w) {
    const ScreenRect r{mainRight, besideTop, w, h};
    return second ? Cascaded(r, {{0, 1}, {0, -1}, {1, 0}}, area) : r;
  }
  if (main.left - area.left >= w) {
    const ScreenRect r{main.left - w, besideTop, w, h};
    return second ? Cascaded(r, {{0, 1}, {0, -1}, {-1, 0}}, area) : r;
  }
  if (areaBottom - mainBottom >= h) {
    const ScreenRect r{overLeft, mainBottom, w, h};
    return second ? Cascaded(r, {{1, 0}, {-1, 0}, {0, 1}}, area) : r;
  }
  if (main.top - area.top >= h) {
    const ScreenRect r{overLeft, main.top - h, w, h};
    return second ? Cascaded(r, {{1, 0}, {-1, 0}, {0, -1}}, area) : r;
  }
  // No room beside it: over the part of the screen the main window leaves most of, against the
  // screen's edge there.
  const int spaceRight = areaRight - mainRight;
  const int spaceLeft = main.left - area.left;
  const int spaceBelow = areaBottom - mainBottom;
  const int spaceAbove = main.top - area.top;
  const int most = std::max({spaceRight, spaceLeft, spaceBelow, spaceAbove});
  ScreenRect r{0, 0, w, h};
  if (most == spaceRight) {
    r.left = areaRight - w;
    r.top = besideTop;
  } else if (most == spaceLeft) {
    r.left = area.left;
    r.top = besideTop;
  } else if (most == spaceBelow) {
    r.left = overLeft;
    r.top = areaBottom - h;
  } else {
    r.left = overLeft;
    r.top = area.top;
  }
  r.left = Clamp(r.left, area.left, areaRight - w);
  r.top = Clamp(r.top, area.top, areaBottom - h);
  return second ? Cascaded(r, {{1, 1}, {-1, -1}, {1, -1}, {-1, 1}}, area) : r;
}

}  // namespace ostra
