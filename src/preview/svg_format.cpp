#include "preview/svg_format.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace ostra::svg {

std::string Xml(TextView text) {
  Text clean;
  clean.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') continue;
    if (c == 0xFFFE || c == 0xFFFF) continue;
    clean.push_back(c);
  }
  std::string utf8 = ToUtf8(clean);
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::string Px(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", v);
  return buffer;
}

std::string Num2(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", v);
  return buffer;
}

std::string TickText(double v) {
  char buffer[32];
  if (std::fabs(v - std::round(v)) < 1e-9) {
    std::snprintf(buffer, sizeof buffer, "%.0f", v);
  } else {
    std::snprintf(buffer, sizeof buffer, "%g", v);
  }
  return buffer;
}

std::string FillFor(const Text& code) {
  std::uint32_t hash = 2166136261u;
  for (char16_t c : code) {
    hash ^= c;
    hash *= 16777619u;
  }
  hash ^= hash >> 15;
  hash *= 0x2c1b3c6du;
  hash ^= hash >> 12;
  const double h = (hash % 360) / 60.0;
  const double s = 0.50 + (hash / 360 % 3) * 0.12;
  const double l = 0.80 - (hash / 1080 % 3) * 0.06;
  const double c = (1 - std::fabs(2 * l - 1)) * s;
  const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h)) {
    case 0:
      r = c, g = x;
      break;
    case 1:
      r = x, g = c;
      break;
    case 2:
      g = c, b = x;
      break;
    case 3:
      g = x, b = c;
      break;
    case 4:
      r = x, b = c;
      break;
    default:
      r = c, b = x;
      break;
  }
  const double m = l - c / 2;
  auto channel = [m](double v) { return static_cast<int>(std::lround((v + m) * 255)); };
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", channel(r), channel(g), channel(b));
  return buffer;
}

}  // namespace ostra::svg
