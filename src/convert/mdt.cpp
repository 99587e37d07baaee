// The MDT section: the header items (title files and CNT.TXT), the layer block (X1.TXT, X3.TXT,
// R31.TXT to R35.TXT) and the second block (X11.TXT).
#include "base/numbers.h"
#include "base/path_text.h"
#include "base/sjis.h"
#include "convert/section_unit.h"
#include "convert/strata.h"

namespace ostra {

namespace {

void WriteCnt(const SectionRun& run) {
  // Components of the destination alone: a short destination leaves the lines empty.
  PathComponents parts;
  SplitPath(run.destination, u"\\", parts);
  OutFile cnt = run.Create(u"CNT.TXT");
  cnt.Line(ByteMid(parts[3], 1, 4));
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
  OutFile x1 = run.Create(u"X1.TXT");
  OutFile x3 = run.Create(u"X3.TXT");
  LayerClassFiles r3;
  for (int k = 1; k <= 5; ++k) {
    r3[static_cast<size_t>(k)] =
        run.Create(u"R3" + Text(1, static_cast<char16_t>(u'0' + k)) + u".TXT");
  }
  LayerCounters layerCounters{0, 1, 1, 1, 1, 1};
  std::int16_t soilCounter = 1;
  std::int16_t layerCodeCounter = 1;
  RecordFields& f = run.fields;
  for (int i = 0; i < records; ++i) {
    reader.ReadRecord(f, fields);
    NameSlots names{Text(), f[2], Text()};
    std::int16_t nameCount = 1;
    ConvertSoilName(run.env, x1, soilCounter, f[1], nameCount, names);
    ConvertLayerCode(x3, layerCodeCounter, f[1], f[10], run.l4Table);
    WriteLayerClasses(run.env, r3, layerCounters, f[1], f);
  }
  x1.Close();
  x3.Close();
  for (int k = 1; k <= 5; ++k) r3[static_cast<size_t>(k)].Close();
}

void ConvertSecondBlock(const SectionRun& run, FieldReader& reader) {
  const Count records = reader.ReadCount(kWhatRecords);
  const Count fields = reader.ReadCount(kWhatFields);
  const int flag = static_cast<int>(reader.ReadNumber(kWhatHeader) != 0.0);
  if (records == 0 || flag == 0) return;
  ConvertBlock(run, reader, u"X11.TXT", records, fields, [&](OutFile& x11, std::int16_t& counter) {
    if (!run.fields[3].empty()) ConvertX11Record(x11, counter, run.fields, run.l10Table);
  });
}

}  // namespace

void ConvertMdtSection(const SectionRun& run, FieldReader& reader) {
  SkipHeaderValue(reader);
  const Count items = reader.ReadCount(kWhatItems);
  const Count records = reader.ReadCount(kWhatRecords);
  SkipHeaderValue(reader);
  const Count fields = reader.ReadCount(kWhatFields);
  reader.BeginItems(items);
  reader.ReadRecord(run.fields, items);
  DecodeHeaderItems(run.env, run.fields, run.itemsA, run.itemsB);
  run.env.Tables().CreateEmpty(kTableKishitu.name);

  WriteCnt(run);
  WriteTitleFiles(run.env, run.itemsA, run.itemsB, run.outDir);
  run.NoteIfWritten(u"Titl01.txt");
  run.NoteIfWritten(u"Titl02.txt");

  if (records != 0 && fields != 0) ConvertLayers(run, reader, records, fields);
  ConvertSecondBlock(run, reader);
}

}  // namespace ostra
