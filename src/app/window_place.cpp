#include "app/window_place.h"

#include <algorithm>

namespace ostra {

namespace {

// How far a second added window is moved from the first.
constexpr int kCascade = 32;

int Clamp(int value, int low, int high) {
  return std::max(low, std::min(value, high));
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
  const int shift = std::max(index, 0) * kCascade;
  // Beside the main window, level with its top (moved down for a second window).
  const int besideTop = Clamp(main.top + shift, area.top, areaBottom - h);
  const int overLeft = Clamp(main.left + shift, area.left, areaRight - w);
  if (areaRight - mainRight >= w) return {mainRight, besideTop, w, h};
  if (main.left - area.left >= w) return {main.left - w, besideTop, w, h};
  if (areaBottom - mainBottom >= h) return {overLeft, mainBottom, w, h};
  if (main.top - area.top >= h) return {overLeft, main.top - h, w, h};
  // No room beside it: over the part of the screen the main window leaves most of, against the
  // screen's edge there, cascaded towards the main window.
  const int spaceRight = areaRight - mainRight;
  const int spaceLeft = main.left - area.left;
  const int spaceBelow = areaBottom - mainBottom;
  const int spaceAbove = main.top - area.top;
  const int most = std::max({spaceRight, spaceLeft, spaceBelow, spaceAbove});
  ScreenRect r{0, 0, w, h};
  if (most == spaceRight) {
    r.left = areaRight - w - shift;
    r.top = besideTop;
  } else if (most == spaceLeft) {
    r.left = area.left + shift;
    r.top = besideTop;
  } else if (most == spaceBelow) {
    r.left = overLeft;
    r.top = areaBottom - h - shift;
  } else {
    r.left = overLeft;
    r.top = area.top + shift;
  }
  r.left = Clamp(r.left, area.left, areaRight - w);
  r.top = Clamp(r.top, area.top, areaBottom - h);
  return r;
}

}  // namespace ostra
