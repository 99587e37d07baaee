// The text and number utilities on arbitrary input: byte cuts, fixed-width fields, width
// conversion and number texts. Besides crashes and undefined behaviour it checks the widths the
// output layouts rely on, and that number texts read back as the numbers they were made from.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "base/numbers.h"
#include "base/sjis.h"
#include "fuzz_support.h"

namespace ostra::fuzz {
namespace {

std::string Show(TextView text) {
  return "text: \"" + ToUtf8(text) + "\"";
}

void CheckCuts(const Text& text, std::int32_t n, std::int32_t start, std::int32_t count) {
  const Text left = ByteLeft(text, n);
  OSTRA_FUZZ_CHECK(ByteLen(left) <= (n < 0 ? 0 : n), Show(text));
  OSTRA_FUZZ_CHECK(text.compare(0, left.size(), left) == 0, Show(text));

  const Text mid = ByteMid(text, start, count);
  if (count >= 0) OSTRA_FUZZ_CHECK(ByteLen(mid) <= count, Show(text));
  OSTRA_FUZZ_CHECK(text.find(mid) != Text::npos, Show(text));
  const Text tail = ByteMid(text, start);
  OSTRA_FUZZ_CHECK(text.find(tail) != Text::npos, Show(text));
}

void CheckFit(const Text& text, std::int16_t w) {
  Text source = text;
  Text result;
  FitBytes(source, result, w);
  if (w >= 0) {
    OSTRA_FUZZ_CHECK(ByteLen(result) == w, Show(text) + " w=" + std::to_string(w));
  }
}

void CheckNumbers(const Text& text, double d, float f, std::int32_t i, std::int16_t w) {
  (void)IntOrZero(text);
  (void)LeadingNumber(text);
  (void)ReadNumber(text);
  (void)NarrowNumerals(text);
  (void)RightField(text, w);
  Text fixed;
  FormatDecimal2(w, f, fixed);
  if (std::isfinite(f) && w > 0) OSTRA_FUZZ_CHECK(fixed.size() >= static_cast<size_t>(w), "");

  // Number texts read back as the number, to the precision they keep. Fifteen digits round the
  // largest doubles up past the largest double, so those are left out.
  if (std::isfinite(d) && std::fpclassify(d) != FP_SUBNORMAL &&
      std::fabs(d) < 1.7976931348623e308) {
    const std::optional<double> back = ReadNumber(NumText(d));
    OSTRA_FUZZ_CHECK(back.has_value(), ToUtf8(NumText(d)));
    OSTRA_FUZZ_CHECK(std::fabs(*back - d) <= std::fabs(d) * 1e-14, ToUtf8(NumText(d)));
  }
  if (std::isfinite(f) && std::fpclassify(f) != FP_SUBNORMAL) {
    const std::optional<double> back = ReadNumber(NumText(f));
    OSTRA_FUZZ_CHECK(back.has_value(), ToUtf8(NumText(f)));
    OSTRA_FUZZ_CHECK(std::fabs(*back - f) <= std::fabs(static_cast<double>(f)) * 1e-6,
                     ToUtf8(NumText(f)));
  }
  const std::optional<double> whole = ReadNumber(NumText(i));
  OSTRA_FUZZ_CHECK(whole.has_value() && *whole == i, ToUtf8(NumText(i)));
}

}  // namespace
}  // namespace ostra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace ostra;
  fuzz::InputCursor in(data, size);
  const auto n = in.Take<std::int32_t>() % 512;
  const auto start = in.Take<std::int32_t>() % 512;
  const auto count = in.Take<std::int32_t>() % 512;
  const auto w = static_cast<std::int16_t>(in.Take<std::int16_t>() % 300);
  const auto d = in.Take<double>();
  const auto f = in.Take<float>();
  const auto i = in.Take<std::int32_t>();
  const bool rawUnits = (in.Take<std::uint8_t>() & 1) != 0;

  // The text either as a file would give it (decoded code page 932) or as any UTF-16 units.
  Text text;
  if (rawUnits) {
    const std::string_view rest = in.Rest();
    for (size_t k = 0; k + 1 < rest.size(); k += 2) {
      text.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(rest[k]) |
                                           static_cast<std::uint8_t>(rest[k + 1]) << 8));
    }
  } else {
    text = DecodeCp932(in.Rest());
  }

  fuzz::CheckCuts(text, n, start, count);
  fuzz::CheckFit(text, w);
  (void)ToFullWidth(text);
  (void)ToHalfWidth(text);
  (void)ToHalfWidth(ToFullWidth(text));
  (void)Trim(text);
  (void)PathFolder(text);
  fuzz::CheckNumbers(text, d, f, i, w);
  return 0;
}
