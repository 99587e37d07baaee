// The title files Titl01.txt and Titl02.txt.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <exception>
#include <optional>

#include "base/errors.h"
#include "base/numbers.h"
#include "base/sjis.h"
#include "convert/title.h"
#include "env/files.h"

namespace ostra {
namespace {

// An item holds a code when it is "0" or "０", or reads as a whole number above 0.
bool HoldsCode(const Text& item) {
  const Text trimmed = Trim(item);
  return trimmed == u"0" || trimmed == u"０" || IntOrZero(item) > 0;
}

// " 3 " for an item holding code 3, two blanks for one holding none.
Text CodeLine(const Text& item) {
  if (!HoldsCode(item)) return u"  ";
  return u" " + IntText(IntOrZero(item)) + u" ";
}

// The name that `table` gives the code held by `item`: the second field of its first record
// whose code equals the item's. Empty when the item holds no code (the table is then not
// touched), when the table is empty, or when no record matches. A missing table is created
// empty so that the reference folder holds it from now on.
Text NameOfCode(ReferenceFolder& tables, const Text& item, const Text& table) {
  if (!HoldsCode(item)) return Text();
  tables.CreateEmpty(table);
  if (tables.Content(table).empty()) return Text();
  const std::int16_t code = IntOrZero(item);
  FieldReader reader = tables.Reader(table);
  while (!reader.AtEnd()) {
    const Text recordCode = reader.ReadText();
    Text name = reader.ReadText();
    if (IntOrZero(recordCode) == code) return name;
  }
  return Text();
}

// A position item as a single-precision number. The decoder writes these as number texts; an
// item that is no number (or none a float can hold) counts as 0, as a missing position does.
float PositionValue(const Text& item) {
  const std::optional<double> value = ReadNumber(item);
  if (!value || !std::isfinite(*value) || std::fabs(*value) > FLT_MAX) return 0.0f;
  return static_cast<float>(*value);
}

void WriteTitl01(Env& env, const Text& path, const TitleItems& a, const TitleItems& b) {
  OutFile out(env, path);
  out.Line(Trim(a[1]));
  out.Line(Trim(a[4]));
  out.Line(Trim(a[3]));
  // The two dates: year, month, day.
  out.Line(RightField(Trim(a[10]), 4));
  out.Line(RightField(Trim(a[11]), 2));
  out.Line(RightField(Trim(a[12]), 2));
  out.Line(RightField(Trim(a[13]), 4));
  out.Line(RightField(Trim(a[14]), 2));
  out.Line(RightField(Trim(a[15]), 2));
  out.Line(Trim(a[6]));
  // The position: latitude, then longitude, in degrees, minutes and seconds.
  out.Line(RightField(Trim(b[5]), 3));
  out.Line(RightField(Trim(b[6]), 2));
  out.Line(RightField(Trim(b[7]), 5));
  out.Line(RightField(Trim(b[8]), 3));
  out.Line(RightField(Trim(b[9]), 2));
  out.Line(RightField(Trim(b[10]), 5));
  out.Line(Trim(b[1]));
  out.Line(Trim(b[3]));
  out.Line(Trim(b[4]));
  out.Line(Trim(b[15]));
  out.Line(Trim(a[20]));
  out.Line(Trim(a[21]));
  out.Line(Trim(a[28]));
  out.Close();
}

struct Names {
  Text n1;  // of A16 through L1.TXT
  Text n3;  // of A18 through L3.TXT
  Text n2;  // of A27 through L2.TXT
};

void WriteTitl02(Env& env, const Text& path, const TitleItems& a, const TitleItems& b,
                 const Names& names, const Text& meshCode) {
  OutFile out(env, path);
  out.Line(Trim(a[5]));
  // Blank fields of a second pair of dates and a second position.
  for (const char16_t* blank : {u"    ", u"  ", u"  ", u"    ", u"  ", u"  ", u"", u"   ", u"  ",
                                u"     ", u"   ", u"  ", u"     "}) {
    out.Line(blank);
  }
  out.Line(Trim(a[23]));
  out.Line(Trim(a[22]));
  out.Line(CodeLine(a[16]));
  out.Line(names.n1);
  out.Line(Trim(a[17]));
  out.Line(Trim(b[11]));
  out.Line(CodeLine(a[18]));
  out.Line(names.n3);
  out.Line(Trim(a[19]));
  out.Line(u"        ");
  out.Line(Trim(b[12]));
  out.Line(Trim(b[13]));
  out.Line(Trim(b[14]));
  out.Line(Trim(a[24]));
  out.Line(Trim(a[25]));
  out.Line(Trim(a[26]));
  out.Line(CodeLine(a[27]));
  out.Line(names.n2);
  for (int i = 0; i < 7; ++i) out.Line();
  out.Line(meshCode);
  out.Line();
  out.Close();
}

Text MsgTitleNotWritten(const Text& path, const Text& reason) {
  return u"タイトルファイル " + path + u" を作成できませんでした。\n" + reason;
}

}  // namespace

void WriteTitleFiles(const RunEnv& env, const TitleItems& a, const TitleItems& b,
                     const DrivePath& destFolder) {
  const Text titl01 = destFolder.Join(u"Titl01.txt");
  const Text titl02 = destFolder.Join(u"Titl02.txt");
  Text pending = titl01;  // the title file that is not yet complete
  try {
    Names names;
    names.n1 = NameOfCode(env.Tables(), a[16], kTableL1.name);
    names.n3 = NameOfCode(env.Tables(), a[18], kTableL3.name);
    names.n2 = NameOfCode(env.Tables(), a[27], kTableL2.name);
    const Text meshCode =
        MakeMeshCode(PositionValue(b[5]), PositionValue(b[6]), PositionValue(b[7]),
                     PositionValue(b[8]), PositionValue(b[9]), PositionValue(b[10]));
    WriteTitl01(env.Files(), titl01, a, b);
    pending = titl02;
    WriteTitl02(env.Files(), titl02, a, b, names, meshCode);
  } catch (const RunError& e) {
    if (e.Kind() == ErrorKind::kDeclined) throw;  // the run was asked to stop
    env.Warn(MsgTitleNotWritten(pending, env.Worded(e)));
  } catch (const std::exception& e) {
    env.Warn(MsgTitleNotWritten(pending, FromUtf8(e.what())));
  }
}

}  // namespace ostra
