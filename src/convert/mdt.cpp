// The MDT section: the header items (title files and CNT.TXT), the layer block (X1.TXT, X3.TXT,
// R31.TXT to R35.TXT) and the second block (X11.TXT).
#include <utility>

#include "base/numbers.h"
#include "base/path_text.h"
#include "base/sjis.h"
#include "convert/section_unit.h"
#include "convert/strata.h"

namespace ostra {

namespace {

void WriteCnt(const SectionRun& run) {
  // Components of the destination alone: a short destination leaves the lines empty.
  const PathComponents parts = run.destination.Components();
  const Text project = ByteMid(parts[3], 1, 4);
  // The boring's identity in the target system: say so when the destination cannot give it whole.
  const Text got = u"「" + project + u"」「" + parts[4] + u"」「" + parts[5] + u"」";
  if (parts.Count() < 5 || parts[5].empty()) {
    run.env.Warn(u"変換先 " + run.destination.AsText() +
                 u" にはドライブの下に 4 階層（最上位\\工事\\地点\\ボーリング）がないため、"
                 u"CNT.TXT の工事・地点・ボーリングは " +
                 got + u" になりました。");
  } else if (project != parts[3]) {
    run.env.Warn(u"変換先の階層「" + parts[3] +
                 u"」は 4 バイトを超えるため、CNT.TXT の工事は先頭 "
                 u"4 バイトの「" +
                 project + u"」になりました（工事・地点・ボーリング: " + got + u"）。");
  }
  OutputFile cnt = run.Create(u"CNT.TXT");
  cnt.Line(project);
  cnt.Line(parts[4]);
  cnt.Line(parts[5]);
  cnt.Line(u"4   ");
  cnt.Line(u"1");
  for (int i = 0; i < 5; ++i) cnt.Line();
  cnt.Close();
}

void ConvertLayers(const SectionRun& run, FieldReader& reader, const Count& records,
                   const Count& fields) {
  reader.BeginBlock(records, fields);
  OutputFile x1 = run.Create(u"X1.TXT");
  OutputFile x3 = run.Create(u"X3.TXT");
  LayerClassFiles r3;
  for (int k = 1; k <= LayerClassFiles::kCount; ++k) {
    r3[k] = run.Create(u"R3" + Text(1, static_cast<char16_t>(u'0' + k)) + u".TXT");
  }
  const RecordFields& f = run.fields;
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(run.fields, fields);
    ConvertSoilName(run.env, x1, f[1], f[2]);
    ConvertLayerCode(x3, f[1], f[10], run.l4Table);
    WriteLayerClasses(run.env, r3, f[1], f);
  }
  x1.Close();
  x3.Close();
  for (int k = 1; k <= LayerClassFiles::kCount; ++k) r3[k].Close();
}

void ConvertSecondBlock(const SectionRun& run, FieldReader& reader) {
  const Count records = reader.ReadCount(kWhatRecords);
  const Count fields = reader.ReadCount(kWhatFields);
  const int flag = static_cast<int>(reader.ReadNumber(kWhatHeader) != 0.0);
  if (records == 0 || flag == 0) return;
  ConvertBlock(run, reader, u"X11.TXT", records, fields, [&](OutputFile& x11) {
    if (!run.fields[3].empty()) ConvertX11Record(x11, run.fields, run.l10Table);
  });
}

}  // namespace

void ConvertMdtSection(const SectionRun& run, FieldReader& reader) {
  const auto [items, records, fields] = ReadMdtCounts(reader);
  reader.BeginItems(items);
  reader.ReadRecord(run.fields, items);
  TitleItemLists titles = DecodeHeaderItems(run.env, run.fields);
  run.itemsA = std::move(titles.a);
  run.itemsB = std::move(titles.b);
  run.env.Tables().CreateEmpty(kTableKishitu.name);

  WriteCnt(run);
  WriteTitleFiles(run.env, run.itemsA, run.itemsB, run.destination);
  run.NoteIfWritten(u"Titl01.txt");
  run.NoteIfWritten(u"Titl02.txt");

  if (records != 0 && fields != 0) ConvertLayers(run, reader, records, fields);
  ConvertSecondBlock(run, reader);
}

}  // namespace ostra
