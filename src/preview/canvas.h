// What the boring-log picture is drawn on: SVG text for the command line, a painter in the
// window and on the printer. Coordinates are picture pixels (1/96 inch at 1:1), y downwards.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/codec.h"

namespace ostra {

enum class Anchor { kStart, kMiddle, kEnd };

// Fill patterns of a layer as bits, one for each pattern of the table (fill_patterns.h); a layer
// has at most one.
using PatternSet = unsigned;

struct Point {
  double x = 0;
  double y = 0;
};

struct TextStyle {
  double size = 10;
  Anchor anchor = Anchor::kStart;
  const char* colour = "#000000";
  bool bold = false;
};

// Colours are "#rrggbb"; "none" draws nothing.
class Canvas {
 public:
  virtual ~Canvas() = default;
  // A group of the picture that carries data: a class name and data attributes. Only the SVG
  // keeps them.
  virtual void BeginGroup(const char* /*cls*/,
                          const std::vector<std::pair<const char*, Text>>& /*data*/ = {}) {}
  virtual void EndGroup() {}
  virtual void Rect(double x, double y, double w, double h, const std::string& fill,
                    const char* stroke, double strokeWidth = 1) = 0;
  // The patterns over a rectangle, in black, clipped to it.
  virtual void Patterns(double x, double y, double w, double h, PatternSet patterns) = 0;
  virtual void Line(double x1, double y1, double x2, double y2, const char* stroke,
                    double width = 1) = 0;
  virtual void Polyline(const std::vector<Point>& points, const char* stroke, double width) = 0;
  virtual void Polygon(const std::vector<Point>& points, const char* fill) = 0;
  virtual void Circle(double cx, double cy, double r, const char* fill) = 0;
  // One line of text with its baseline at y.
  virtual void Write(double x, double y, TextView text, const TextStyle& style) = 0;
  // Until the matching PopClip: what is drawn at (x, y) lands at (x + dx, y + dy), and only
  // what falls inside the rectangle (x, y, w, h) of the coordinates drawn in shows. Pushes nest.
  virtual void PushClip(double dx, double dy, double x, double y, double w, double h) = 0;
  virtual void PopClip() = 0;
};

// A canvas that sees only the texts, to find where they stand: the shapes go nowhere.
class TextCanvas : public Canvas {
 public:
  void Rect(double, double, double, double, const std::string&, const char*, double) override {}
  void Patterns(double, double, double, double, PatternSet) override {}
  void Line(double, double, double, double, const char*, double) override {}
  void Polyline(const std::vector<Point>&, const char*, double) override {}
  void Polygon(const std::vector<Point>&, const char*) override {}
  void Circle(double, double, double, const char*) override {}
};

}  // namespace ostra
