#include "win/gdi_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "preview/fill_patterns.h"

namespace ostra::win {

namespace {

constexpr double kPatternPen = 0.7;

int CALLBACK FoundFont(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool HasFont(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, FoundFont, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

const wchar_t* JapaneseUiFont() {
  static const wchar_t* const chosen = [] {
    const wchar_t* faces[] = {L"Meiryo UI", L"Yu Gothic UI", L"MS UI Gothic"};
    for (const wchar_t* face : faces) {
      if (HasFont(face)) return face;
    }
    return faces[0];
  }();
  return chosen;
}

bool ParseColour(const char* text, COLORREF& colour) {
  if (text == nullptr || std::strlen(text) != 7 || text[0] != '#') return false;
  int v[6];
  for (int i = 0; i < 6; ++i) {
    v[i] = Hex(text[i + 1]);
    if (v[i] < 0) return false;
  }
  colour = RGB(v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]);
  return true;
}

GdiCanvas::GdiCanvas(HDC dc, double scale, double offsetX, double offsetY)
    : dc_(dc), scale_(scale), offsetX_(offsetX), offsetY_(offsetY) {
  saved_ = SaveDC(dc_);
  SetBkMode(dc_, TRANSPARENT);
  SetMapMode(dc_, MM_TEXT);
}

GdiCanvas::~GdiCanvas() {
  // The DC's own objects go back in before ours are deleted.
  RestoreDC(dc_, saved_);
  for (auto& [key, pen] : pens_) DeleteObject(pen);
  for (auto& [key, brush] : brushes_) DeleteObject(brush);
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

void GdiCanvas::SetOffset(double offsetX, double offsetY) {
  offsetX_ = offsetX;
  offsetY_ = offsetY;
}

int GdiCanvas::X(double x) const {
  return static_cast<int>(std::lround(offsetX_ + x * scale_));
}

int GdiCanvas::Y(double y) const {
  return static_cast<int>(std::lround(offsetY_ + y * scale_));
}

int GdiCanvas::Len(double d) const {
  return static_cast<int>(std::lround(d * scale_));
}

void GdiCanvas::ClipTo(double x, double y, double w, double h) {
  ClearClip();
  clipSaved_ = SaveDC(dc_);
  IntersectClipRect(dc_, X(x), Y(y), X(x + w), Y(y + h));
}

void GdiCanvas::PushClip(double dx, double dy, double x, double y, double w, double h) {
  pushed_.push_back({offsetX_, offsetY_, SaveDC(dc_)});
  offsetX_ += dx * scale_;
  offsetY_ += dy * scale_;
  IntersectClipRect(dc_, X(x), Y(y), X(x + w), Y(y + h));
}

void GdiCanvas::PopClip() {
  if (pushed_.empty()) return;
  RestoreDC(dc_, pushed_.back().saved);
  offsetX_ = pushed_.back().offsetX;
  offsetY_ = pushed_.back().offsetY;
  pushed_.pop_back();
}

void GdiCanvas::ClearClip() {
  if (clipSaved_ != 0) RestoreDC(dc_, clipSaved_);
  clipSaved_ = 0;
}

HPEN GdiCanvas::Pen(const char* stroke, double width) {
  COLORREF colour;
  if (width <= 0 || !ParseColour(stroke, colour))
    return static_cast<HPEN>(GetStockObject(NULL_PEN));
  const int dots = std::max(1, Len(width));
  HPEN& pen = pens_[{colour, dots}];
  if (pen == nullptr) {
    if (dots == 1) {
      pen = CreatePen(PS_SOLID, 1, colour);
    } else {
      LOGBRUSH brush{BS_SOLID, colour, 0};
      pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                         static_cast<DWORD>(dots), &brush, 0, nullptr);
    }
  }
  return pen;
}

HBRUSH GdiCanvas::Brush(const char* fill) {
  COLORREF colour;
  if (!ParseColour(fill, colour)) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  HBRUSH& brush = brushes_[colour];
  if (brush == nullptr) brush = CreateSolidBrush(colour);
  return brush;
}

HFONT GdiCanvas::Font(double size, bool bold) {
  const int height = std::max(1, Len(size));
  HFONT& font = fonts_[{height, bold}];
  if (font == nullptr) {
    font = CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, JapaneseUiFont());
  }
  return font;
}

void GdiCanvas::Rect(double x, double y, double w, double h, const std::string& fill,
                     const char* stroke, double strokeWidth) {
  h = std::max(h, 0.0);
  HPEN pen = Pen(stroke, strokeWidth);
  if (pen == GetStockObject(NULL_PEN)) {
    COLORREF colour;
    if (!ParseColour(fill.c_str(), colour)) return;
    RECT area{X(x), Y(y), X(x + w), Y(y + h)};
    FillRect(dc_, &area, Brush(fill.c_str()));
    return;
  }
  SelectObject(dc_, pen);
  SelectObject(dc_, Brush(fill.c_str()));
  // The outline's right and bottom lines lie on x + w and y + h, as the other edges do.
  ::Rectangle(dc_, X(x), Y(y), X(x + w) + 1, Y(y + h) + 1);
}

void GdiCanvas::Patterns(double x, double y, double w, double h, PatternSet patterns) {
  if (w <= 0 || h <= 0) return;
  const int saved = SaveDC(dc_);
  IntersectClipRect(dc_, X(x), Y(y), X(x + w), Y(y + h));
  HPEN pen = Pen("#000000", kPatternPen);
  HBRUSH ink = Brush("#000000");
  HGDIOBJ none = GetStockObject(NULL_BRUSH);
  SelectObject(dc_, pen);
  for (const PatternInfo& p : AllPatterns()) {
    if ((patterns & p.bit) == 0) continue;
    const PatternTile tile = TileOf(p.bit);
    // Tiles are laid from the picture's origin, so neighbouring layers' patterns line up.
    const double x0 = std::floor(x / tile.size) * tile.size;
    const double y0 = std::floor(y / tile.size) * tile.size;
    for (double ty = y0; ty < y + h; ty += tile.size) {
      for (double tx = x0; tx < x + w; tx += tile.size) {
        for (const TileMark& m : tile.marks) {
          const double cx = tx + m.x1, cy = ty + m.y1;
          switch (m.kind) {
            case TileMark::kDot:
              SelectObject(dc_, GetStockObject(NULL_PEN));
              SelectObject(dc_, ink);
              ::Ellipse(dc_, X(cx - m.x2), Y(cy - m.x2), X(cx + m.x2) + 1, Y(cy + m.x2) + 1);
              SelectObject(dc_, pen);
              break;
            case TileMark::kRing:
              SelectObject(dc_, none);
              ::Ellipse(dc_, X(cx - m.x2), Y(cy - m.x2), X(cx + m.x2), Y(cy + m.x2));
              break;
            case TileMark::kLine:
              MoveToEx(dc_, X(cx), Y(cy), nullptr);
              LineTo(dc_, X(tx + m.x2), Y(ty + m.y2));
              break;
          }
        }
      }
    }
  }
  RestoreDC(dc_, saved);
}

void GdiCanvas::Line(double x1, double y1, double x2, double y2, const char* stroke, double width) {
  HPEN pen = Pen(stroke, width);
  if (pen == GetStockObject(NULL_PEN)) return;
  SelectObject(dc_, pen);
  MoveToEx(dc_, X(x1), Y(y1), nullptr);
  LineTo(dc_, X(x2), Y(y2));
}

void GdiCanvas::Polyline(const std::vector<Point>& points, const char* stroke, double width) {
  HPEN pen = Pen(stroke, width);
  if (pen == GetStockObject(NULL_PEN) || points.size() < 2) return;
  std::vector<POINT> dots;
  for (const Point& p : points) dots.push_back({X(p.x), Y(p.y)});
  SelectObject(dc_, pen);
  ::Polyline(dc_, dots.data(), static_cast<int>(dots.size()));
}

void GdiCanvas::Polygon(const std::vector<Point>& points, const char* fill) {
  COLORREF colour;
  if (!ParseColour(fill, colour) || points.size() < 3) return;
  std::vector<POINT> dots;
  for (const Point& p : points) dots.push_back({X(p.x), Y(p.y)});
  SelectObject(dc_, GetStockObject(NULL_PEN));
  SelectObject(dc_, Brush(fill));
  ::Polygon(dc_, dots.data(), static_cast<int>(dots.size()));
}

void GdiCanvas::Circle(double cx, double cy, double r, const char* fill) {
  COLORREF colour;
  if (!ParseColour(fill, colour)) return;
  SelectObject(dc_, GetStockObject(NULL_PEN));
  SelectObject(dc_, Brush(fill));
  ::Ellipse(dc_, X(cx - r), Y(cy - r), X(cx + r) + 1, Y(cy + r) + 1);
}

void GdiCanvas::Write(double x, double y, TextView text, const TextStyle& style) {
  COLORREF colour;
  if (text.empty() || !ParseColour(style.colour, colour)) return;
  SelectObject(dc_, Font(style.size, style.bold));
  SetTextColor(dc_, colour);
  UINT align = TA_BASELINE | TA_NOUPDATECP;
  align |= style.anchor == Anchor::kStart    ? TA_LEFT
           : style.anchor == Anchor::kMiddle ? TA_CENTER
                                             : TA_RIGHT;
  SetTextAlign(dc_, align);
  TextOutW(dc_, X(x), Y(y), reinterpret_cast<const wchar_t*>(text.data()),
           static_cast<int>(text.size()));
}

}  // namespace ostra::win
