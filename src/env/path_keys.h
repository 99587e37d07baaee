// Keys of drive-form paths for the Envs that keep files in memory: names compared without regard
// to ASCII letter case, folders without a trailing "\".
#pragma once

#include "base/codec.h"
#include "base/sjis.h"

namespace ostra {

// The key of a path: ASCII letters in upper case, no trailing "\" ("W:\" is "W:").
inline Text PathKey(const Text& path) {
  Text key = UpperAscii(path);
  while (key.size() > 2 && key.back() == u'\\') key.pop_back();
  return key;
}

// The key of the folder holding `key` ("" for a drive).
inline Text ParentKey(const Text& key) {
  const size_t slash = key.find_last_of(u'\\');
  return slash == Text::npos ? Text() : key.substr(0, slash);
}

}  // namespace ostra
