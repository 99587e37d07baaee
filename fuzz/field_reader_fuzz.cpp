// The field reader on arbitrary file contents, driven the way the run drives it: header values,
// counts and records in any order until the data runs out. Besides crashes it checks that
// reading a file that grew (Append) gives what reading the grown file from its start gives.
#include <cstdint>
#include <string>
#include <vector>

#include "base/errors.h"
#include "run/error_text.h"
#include "formats/section_file.h"
#include "fuzz_support.h"

namespace ostra::fuzz {
namespace {

const Text kPath = u"F:\\DATA\\MDT0001.GDF";

// Every field of the text, read to the end.
std::vector<Text> AllFields(FieldReader& reader) {
  std::vector<Text> fields;
  while (!reader.AtEnd()) fields.push_back(reader.ReadText());
  return fields;
}

std::string Show(const std::vector<Text>& fields) {
  std::string s;
  for (const Text& f : fields) s += "[" + ToUtf8(f) + "]";
  return s;
}

// A section read as the run reads one: the operations come from `ops`, the data from `text`.
void ReadLikeARun(const Text& text, std::string_view ops) {
  FieldReader reader(text, kPath);
  RecordFields record;
  try {
    for (unsigned char op : ops) {
      switch (op % 5) {
        case 0:
          (void)reader.ReadText();
          break;
        case 1:
          (void)reader.ReadNumber(u"ヘッダー値");
          break;
        case 2: {
          const int count = reader.ReadCount(u"レコード数", op / 5);
          OSTRA_FUZZ_CHECK(count >= 0 && count <= op / 5, std::to_string(count));
          break;
        }
        case 3:
          reader.ReadRecord(record, 1 + op / 5 % kMaxFields);
          break;
        default:
          (void)reader.AtEnd();
          break;
      }
    }
  } catch (const RunError& e) {
    // Bad data stops with a message that names the file.
    OSTRA_FUZZ_CHECK(ErrorMessage(e).find(kPath) != Text::npos, ToUtf8(ErrorMessage(e)));
  }
}

}  // namespace
}  // namespace ostra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace ostra;
  fuzz::InputCursor in(data, size);
  const auto split = in.Take<std::uint16_t>();
  const auto opCount = in.Take<std::uint8_t>();
  std::string_view rest = in.Rest();
  const std::string_view ops = rest.substr(0, opCount < rest.size() ? opCount : rest.size());
  rest.remove_prefix(ops.size());
  const Text text = DecodeCp932(rest);

  fuzz::ReadLikeARun(text, ops);

  // A file read in two goes, the second after it grew, reads as the whole file does.
  const size_t cut = text.empty() ? 0 : split % (text.size() + 1);
  FieldReader whole(text, fuzz::kPath);
  const std::vector<Text> expected = fuzz::AllFields(whole);
  FieldReader grown(text.substr(0, cut), fuzz::kPath);
  std::vector<Text> got = fuzz::AllFields(grown);
  if (grown.Append(TextView(text).substr(cut))) {
    const std::vector<Text> more = fuzz::AllFields(grown);
    got.insert(got.end(), more.begin(), more.end());
    OSTRA_FUZZ_CHECK(got == expected, "cut " + std::to_string(cut) + " of " + ToUtf8(text) +
                                          "\nwhole: " + fuzz::Show(expected) +
                                          "\nparts: " + fuzz::Show(got));
  }
  return 0;
}
