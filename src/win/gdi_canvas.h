// The boring-log picture drawn with GDI on a device context: the window's (through a bitmap in
// memory) and the printer's. Picture pixels are mapped to device pixels by a scale and an
// offset, so that one drawing serves every resolution.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "preview/canvas.h"

namespace ostra::win {

// The first of the Japanese UI fonts the system has (Meiryo UI, Yu Gothic UI, MS UI Gothic), or
// the first of them when it has none (GDI then picks the nearest).
const wchar_t* JapaneseUiFont();

// "#rrggbb" as a GDI colour; `none` for "none" (or anything that is no colour).
bool ParseColour(const char* text, COLORREF& colour);

class GdiCanvas : public Canvas {
 public:
  // Device x = offsetX + scale * picture x, likewise y.
  GdiCanvas(HDC dc, double scale, double offsetX, double offsetY);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  void SetOffset(double offsetX, double offsetY);
  double Scale() const { return scale_; }
  // Drawing stays inside this rectangle of picture pixels (until ClearClip).
  void ClipTo(double x, double y, double w, double h);
  void ClearClip();

  void Rect(double x, double y, double w, double h, const std::string& fill, const char* stroke,
            double strokeWidth) override;
  void Patterns(double x, double y, double w, double h, PatternSet patterns) override;
  void Line(double x1, double y1, double x2, double y2, const char* stroke, double width) override;
  void Polyline(const std::vector<Point>& points, const char* stroke, double width) override;
  void Polygon(const std::vector<Point>& points, const char* fill) override;
  void Circle(double cx, double cy, double r, const char* fill) override;
  void Write(double x, double y, TextView text, const TextStyle& style) override;
  void PushClip(double dx, double dy, double x, double y, double w, double h) override;
  void PopClip() override;

 private:
  int X(double x) const;
  int Y(double y) const;
  int Len(double d) const;
  // A pen of the colour and width (picture pixels), or the null pen; kept until the end.
  HPEN Pen(const char* stroke, double width);
  HBRUSH Brush(const char* fill);
  HFONT Font(double size, bool bold);

  HDC dc_;
  double scale_;
  double offsetX_;
  double offsetY_;
  int saved_ = 0;
  int clipSaved_ = 0;
  struct Pushed {
    double offsetX;
    double offsetY;
    int saved;
  };
  std::vector<Pushed> pushed_;
  std::map<std::pair<COLORREF, int>, HPEN> pens_;
  std::map<COLORREF, HBRUSH> brushes_;
  std::map<std::pair<int, bool>, HFONT> fonts_;
};

}  // namespace ostra::win
