// Shared pieces of the fuzz targets: reading parameters off the front of the input, and
// stopping with a message when a property does not hold (libFuzzer then keeps the input).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/codec.h"

namespace ostra::fuzz {

// Takes fixed-size parameters off the front of the input; zero once the input runs out.
class InputCursor {
 public:
  InputCursor(const std::uint8_t* data, size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  template <typename T>
  T Take() {
    T value{};
    const size_t n = rest_.size() < sizeof(T) ? rest_.size() : sizeof(T);
    std::memcpy(&value, rest_.data(), n);
    rest_.remove_prefix(n);
    return value;
  }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

[[noreturn]] inline void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "PROPERTY FAILED: %s\n%s\n", what, detail.c_str());
  std::abort();
}

#define OSTRA_FUZZ_CHECK(cond, detail)               \
  do {                                               \
    if (!(cond)) ::ostra::fuzz::Fail(#cond, detail); \
  } while (0)

}  // namespace ostra::fuzz
