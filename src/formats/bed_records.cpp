// The BDT and KDT sections: drilling progress with water levels, and the observation remarks.
#include "base/sjis.h"
#include "formats/bed_parts.h"

namespace ostra::bed {
namespace {

constexpr long kProgressFields = 10;
constexpr long kWaterFields = 3;

struct MonthDay {
  Text year;
  Text text;  // "5/12"; empty when the file gives no date
};

// The month and day of a date "YYYY-MM-DD" as "5/12" (1.10 files: year, month and day of
// their own); the date as written when it does not read so, which the caller warns about.
MonthDay ReadMonthDay(const XmlElement& e, const Text& list, bool& unreadable) {
  const Text whole = TextOf(e, {list + u"_測定年月日"});
  auto number = [](const Text& t) {
    Text digits = NarrowNumerals(Trim(t));
    while (digits.size() > 1 && digits[0] == u'0') digits.erase(0, 1);
    for (char16_t ch : digits) {
      if (ch < u'0' || ch > u'9') return Text();
    }
    return digits;
  };
  if (whole.empty()) {
    const Text m = number(TextOf(e, {list + u"_測定月"})),
               d = number(TextOf(e, {list + u"_測定日"}));
    if (m.empty() && d.empty()) return {};
    return {number(TextOf(e, {list + u"_測定年"})), m + u"/" + d};
  }
  const size_t a = whole.find(u'-');
  const size_t b = a == Text::npos ? Text::npos : whole.find(u'-', a + 1);
  if (b == Text::npos) {
    unreadable = true;
    return {};
  }
  const Text m = number(whole.substr(a + 1, b - a - 1)), d = number(whole.substr(b + 1));
  if (m.empty() || d.empty()) {
    unreadable = true;
    return {};
  }
  return {number(whole.substr(0, a)), m + u"/" + d};
}

}  // namespace

void ReadBdt(Reading& r) {
  for (const XmlElement* e : r.index.All(u"コア採取率"))
    r.result.coreRecovery.push_back(
        {DepthText(TextOf(*e, {u"コア採取率_下端深度"})), TextOf(*e, {u"コア採取率_採取率"})});
  for (const XmlElement* e : r.index.All(u"RQD"))
    r.result.rqd.push_back({DepthText(TextOf(*e, {u"RQD_下端深度"})), TextOf(*e, {u"RQD_RQD"})});
  const Text surveyYear = [&] {
    Text start = FindText(r.index, {u"調査期間_開始年月日"});
    if (!start.empty()) return start.substr(0, start.find(u'-'));
    return FindText(r.index, {u"調査期間_開始年"});
  }();
  bool unreadable = false, otherYear = false;
  Text progress;
  long progressCount = 0;
  for (const Text& list : {Text(u"掘削工程"), Text(u"削孔工程")}) {
    for (const XmlElement* e : r.index.All(list)) {
      const Text depth = TextOf(*e, {list + u"_掘進深度", list + u"_削孔深度"});
      const MonthDay date = ReadMonthDay(*e, list, unreadable);
      if (!date.year.empty() && !surveyYear.empty() && date.year != surveyYear) otherYear = true;
      LegacyLine line;
      line.Number(DepthText(depth)).Number(date.text);
      for (long f = 3; f <= kProgressFields; ++f) line.Number(Text());
      progress += line.Done();
      ++progressCount;
    }
  }
  Text water;
  long waterCount = 0;
  for (const XmlElement* e : r.index.All(u"孔内水位")) {
    const Text level = TextOf(*e, {u"孔内水位_孔内水位"});
    const MonthDay date = ReadMonthDay(*e, u"孔内水位", unreadable);
    if (!date.year.empty() && !surveyYear.empty() && date.year != surveyYear) otherYear = true;
    bool changed = false;
    water +=
        LegacyLine()
            .Number(DepthText(level))
            .Number(date.text)
            .Quoted(TextOf(*e, {u"孔内水位_掘削状況", u"孔内水位_削孔状況", u"孔内水位_水位種別"}),
                    &changed)
            .Done();
    ++waterCount;
  }
  if (unreadable) {
    r.Warn(
        u"掘削工程または孔内水位の測定年月日に YYYY-MM-DD "
        u"として読めないものがあり、その月日は空にしました。");
  }
  if (otherYear) {
    r.Warn(u"掘削工程または孔内水位に調査開始年 " + surveyYear +
           u" と異なる年の測定日があります。N8.TXT と N9.TXT の日付には調査開始年が入ります。");
  }
  if (progressCount == 0 && waterCount > 0) {
    r.Warn(u"孔内水位 " + Digits(waterCount) +
           u" 件は、掘削工程の記録がないためデータセットに入らず、N9.TXT には変換されません。");
  }
  if (progressCount == 0) return;
  Text text = LegacyLine()
                  .Number(1)
                  .Number(progressCount)
                  .Number(kProgressFields)
                  .Number(0)
                  .Number(0)
                  .Number(0)
                  .Done() +
              progress;
  text += LegacyLine().Number(1).Number(waterCount).Number(kWaterFields).Done() + water;
  r.result.sections[1] = std::move(text);
}

void ReadKdt(Reading& r) {
  Text records;
  long count = 0;
  bool changed = false;
  for (const XmlElement* e : r.index.All(u"観察記事")) {
    const Text depth = TextOf(*e, {u"観察記事_下端深度"});
    // A line break, written as the two characters "\n" or as a line end, is the remark's
    // line-break mark.
    Text remark = TextOf(*e, {u"観察記事_記事"});
    Text marked;
    for (size_t i = 0; i < remark.size(); ++i) {
      if (remark[i] == u'\\' && i + 1 < remark.size() && remark[i + 1] == u'n') {
        marked += u'＠';
        ++i;
      } else if (remark[i] == u'\r') {
        marked += u'＠';
        if (i + 1 < remark.size() && remark[i + 1] == u'\n') ++i;
      } else if (remark[i] == u'\n') {
        marked += u'＠';
      } else {
        marked += remark[i];
      }
    }
    LegacyLine line;
    if (const std::optional<Depth> d = ReadDepth(depth)) {
      line.Number(d->text);
    } else {
      line.Quoted(depth, &changed);
    }
    records += line.Quoted(marked, &changed).Done();
    ++count;
  }
  if (changed) {
    r.Warn(
        u"観察記事にある二重引用符・タブは、データセットの書式に入らないため、"
        u"二重引用符は「”」に、タブは空白に置き換えました。");
  }
  if (count == 0) return;
  r.result.sections[2] = LegacyLine().Number(1).Number(count).Number(2).Done() + records;
}

}  // namespace ostra::bed
