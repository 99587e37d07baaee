// The MDT section: header items, layer records and the second block (faults and fracture zones).
#include "base/sjis.h"
#include "formats/bed_parts.h"

namespace ostra::bed {
namespace {

constexpr int kLayerFields = 11;
constexpr int kSecondFields = 4;

void WarnTotalLength(Reading& r, const std::vector<std::vector<Text>>& records, const Text& total) {
  if (records.empty() || total.empty()) return;
  const std::optional<Depth> last = ReadDepth(records.back()[0]);
  const std::optional<Depth> length = ReadDepth(total);
  if (last && length && last->value != length->value) {
    r.Warn(u"最後の層の下端深度 " + last->text + u" m が総掘進長 " + length->text +
           u" m と異なります（どちらもそのまま変換します）。");
  }
}

}  // namespace

void ReadMdt(Reading& r) {
  const std::vector<Text> items = HeaderItems(r);
  const std::vector<std::vector<Text>> records = LayerRecords(r);
  WarnTotalLength(r, records, items[16]);

  bool changed = false;
  Text text = LegacyLine()
                  .Number(1)
                  .Number(static_cast<long>(items.size()))
                  .Number(static_cast<long>(records.size()))
                  .Number(0)
                  .Number(kLayerFields)
                  .Done();
  // The header items in the groups of the legacy header: names, place, dates, position,
  // hole, company, project.
  const size_t groups[] = {3, 5, 11, 15, 20, 26, 29};
  size_t from = 0;
  for (size_t to : groups) {
    LegacyLine line;
    for (size_t i = from; i < to; ++i) line.Quoted(items[i], &changed);
    text += line.Done();
    from = to;
  }
  for (const std::vector<Text>& record : records) {
    LegacyLine line;
    line.Number(record[0]);
    for (size_t f = 1; f < record.size(); ++f) line.Quoted(record[f], &changed);
    text += line.Done();
  }

  // Second block: faults and fracture zones at their upper depth, the kind as the XML writes it
  // (coded through L10.TXT by the converter) and the remark.
  std::vector<const XmlElement*> zones = ListOf(r.index, {u"断層破砕帯区分", u"断層区分"});
  Text block;
  long count = 0;
  for (const XmlElement* zone : zones) {
    const Text top = TextOf(*zone, {u"断層破砕帯区分_上端深度", u"断層区分_上端深度"});
    const std::optional<Depth> depth = ReadDepth(top);
    if (!depth) {
      r.Warn(u"断層破砕帯区分の上端深度「" + top + u"」（" + Digits(zone->line) +
             u" 行目）が数値ではないため、読み飛ばしました。");
      continue;
    }
    ++count;
    block += LegacyLine()
                 .Number(count)
                 .Number(depth->text)
                 .Quoted(TextOf(*zone, {u"断層破砕帯区分_性状", u"断層区分_性状"}), &changed)
                 .Quoted(TextOf(*zone, {u"断層破砕帯区分_備考"}), &changed)
                 .Done();
  }
  if (count == 0) {
    text += LegacyLine().Number(0).Number(0).Number(0).Done();
  } else {
    text += LegacyLine().Number(count).Number(kSecondFields).Number(kSecondFields).Done() + block;
  }
  if (changed) {
    r.Warn(
        u"柱状図の項目にある二重引用符・改行・タブは、データセットの書式に入らないため、"
        u"二重引用符は「”」に、改行とタブは空白に置き換えました。");
  }
  r.result.sections[0] = std::move(text);
}

}  // namespace ostra::bed
