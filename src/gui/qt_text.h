// Text <-> QString. Both are UTF-16, so the conversion is a plain copy.
#pragma once

#include <QString>

#include "base/codec.h"

namespace ostra {

inline QString ToQString(const Text& text) {
  return QString::fromStdU16String(text);
}
inline Text FromQString(const QString& text) {
  return text.toStdU16String();
}

}  // namespace ostra
