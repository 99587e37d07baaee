// The MDT header items from the XML's title information.
#include <optional>

#include "base/decimal.h"
#include "base/mesh_code.h"
#include "base/sjis.h"
#include "formats/bed_parts.h"

namespace ostra::bed {
namespace {

// A whole number written in digits only ("05" gives 5), or nullopt.
std::optional<long> WholeNumber(const Text& text) {
  const Text t = NarrowNumerals(Trim(text));
  if (t.empty() || t.size() > 9) return std::nullopt;
  long value = 0;
  for (char16_t ch : t) {
    if (ch < u'0' || ch > u'9') return std::nullopt;
    value = value * 10 + (ch - u'0');
  }
  return value;
}

struct Date {
  Text year, month, day;
};

// "YYYY-MM-DD" as the header's year, month and day ("1999", "5", "1"); 1.10 files give the
// three parts as elements of their own. A date that does not read so is warned about and left
// empty.
Date ReadDate(Reading& r, const Text& what, Names whole, Names year, Names month, Names day) {
  const Text text = FindText(r.index, whole);
  Date date;
  if (!text.empty()) {
    const size_t a = text.find(u'-');
    const size_t b = a == Text::npos ? Text::npos : text.find(u'-', a + 1);
    std::optional<long> y, m, d;
    if (b != Text::npos) {
      y = WholeNumber(text.substr(0, a));
      m = WholeNumber(text.substr(a + 1, b - a - 1));
      d = WholeNumber(text.substr(b + 1));
    }
    if (!y || !m || !d || *m < 1 || *m > 12 || *d < 1 || *d > 31) {
      r.Warn(what + u"「" + text +
             u"」は YYYY-MM-DD の日付として読めないため、空のままにしました。");
      return date;
    }
    return {Digits(*y), Digits(*m), Digits(*d)};
  }
  const Text ys = FindText(r.index, year), ms = FindText(r.index, month),
             ds = FindText(r.index, day);
  const std::optional<long> y = WholeNumber(ys), m = WholeNumber(ms), d = WholeNumber(ds);
  if (y) date.year = Digits(*y);
  if (m) date.month = Digits(*m);
  if (d) date.day = Digits(*d);
  return date;
}

// An angle in degrees, minutes and seconds as the header's "dd.mmss": the digits as written,
// seconds cut to whole seconds. Empty when the file gives none.
struct Angle {
  Text item;                 // "34.5953"
  long d = 0, m = 0, s = 0;  // as the title reads them back
};

std::optional<Angle> ReadAngle(Reading& r, const Text& what, std::u16string_view prefix) {
  const Text base(prefix);
  const Text dt = FindText(r.index, {base + u"_度"});
  const Text mt = FindText(r.index, {base + u"_分"});
  const Text st = FindText(r.index, {base + u"_秒"});
  if (dt.empty() && mt.empty() && st.empty()) return std::nullopt;
  const std::optional<long> d = WholeNumber(dt);
  const std::optional<long> m = mt.empty() ? std::optional<long>(0) : WholeNumber(mt);
  const std::optional<DecimalNumber> s = ParseDecimal(st.empty() ? Text(u"0") : st);
  std::optional<long> wholeSeconds;
  if (s && !s->negative) {
    const DecimalNumber whole = s->Truncated();
    const std::optional<std::int64_t> mantissa = whole.Mantissa();
    if (mantissa) {
      std::int64_t v = *mantissa;
      for (std::int64_t e = 0; e < whole.exponent && v < 100; ++e) v *= 10;
      wholeSeconds = static_cast<long>(v);
    }
  }
  if (!d || !m || !wholeSeconds || *m >= 60 || *wholeSeconds >= 60) {
    r.Warn(what + u"「" + dt + u"度" + mt + u"分" + st +
           u"秒」は度・分・秒として読めないため、空のままにしました。");
    return std::nullopt;
  }
  auto two = [](long v) { return (v < 10 ? Text(u"0") : Text()) + Digits(v); };
  return Angle{Digits(*d) + u"." + two(*m) + two(*wholeSeconds), *d, *m, *wholeSeconds};
}

// Compares the XML's own grid-square code with the one the title will carry for the position.
void CheckMeshCode(Reading& r, const std::optional<Angle>& lat, const std::optional<Angle>& lon) {
  const Text first = FindText(r.index, {u"コード1次"});
  const Text second = FindText(r.index, {u"コード2次"});
  const Text third = FindText(r.index, {u"コード3次"});
  const Text own = first + second + third;
  if (!lat || !lon) return;
  auto f = [](long v) { return static_cast<float>(v); };
  const Text computed =
      MakeMeshCode(f(lat->d), f(lat->m), f(lat->s), f(lon->d), f(lon->m), f(lon->s));
  if (own.empty()) {
    r.Warn(u"標準地域メッシュコード（コード1次～3次）がありません。位置から求めた " + computed +
           u" を使います。");
  } else if (own != computed) {
    r.Warn(u"標準地域メッシュコード " + own + u"（XML）が、緯度・経度から求めた " + computed +
           u" と一致しません。変換結果には位置から求めた " + computed + u" が入ります。");
  }
}

}  // namespace

std::vector<Text> HeaderItems(Reading& r) {
  std::vector<Text> items(29);
  auto item = [&](int n) -> Text& { return items[static_cast<size_t>(n - 1)]; };
  item(1) = FindText(r.index, {u"調査名"});
  item(3) = FindText(r.index, {u"ボーリング名"});
  item(4) = FindText(r.index, {u"調査位置住所"});
  item(5) = FindText(r.index, {u"発注機関名称"});
  const Date start = ReadDate(r, u"調査期間の開始年月日", {u"調査期間_開始年月日"},
                              {u"調査期間_開始年"}, {u"調査期間_開始月"}, {u"調査期間_開始日"});
  const Date end = ReadDate(r, u"調査期間の終了年月日", {u"調査期間_終了年月日"},
                            {u"調査期間_終了年"}, {u"調査期間_終了月"}, {u"調査期間_終了日"});
  item(6) = start.year;
  item(7) = start.month;
  item(8) = start.day;
  item(9) = end.year;
  item(10) = end.month;
  item(11) = end.day;
  const std::optional<Angle> lat = ReadAngle(r, u"緯度", u"緯度");
  const std::optional<Angle> lon = ReadAngle(r, u"経度", u"経度");
  if (lat) item(14) = lat->item;
  if (lon) item(15) = lon->item;
  CheckMeshCode(r, lat, lon);
  item(16) = FindText(r.index, {u"孔口標高"});
  item(17) = FindText(r.index, {u"総掘進長", u"総削孔長"});
  item(19) = FindText(r.index, {u"掘進角度", u"角度"});
  item(22) = FindText(r.index, {u"調査会社_名称"});
  item(25) = FindText(r.index, {u"試錐機_名称"});
  item(29) = FindText(r.index, {u"事業工事名"});
  return items;
}

}  // namespace ostra::bed
