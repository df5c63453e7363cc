// Splitting a record into fields. Runs of spaces separate the fields and are dropped, except
// in the part that one field keeps verbatim to the end of the record: field 12, or fields 9
// and 10 when a double quote stands at or after the start of field 9. So, with p the start
// of that verbatim part (the record's length when there is none), the fields joined are the
// record before p without its spaces, followed by the record from p on.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/records.h"
#include "fuzz_check.h"

namespace {

std::u16string WithoutSpaces(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c != u' ') out += c;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Bytes above ASCII stand for characters of the Japanese blocks, so that records mix both.
  std::u16string record;
  for (size_t i = 0; i < size; ++i) {
    record +=
        data[i] < 0x80 ? static_cast<char16_t>(data[i]) : static_cast<char16_t>(0x3000 + data[i]);
  }
  const qdvz::RecordFields f = qdvz::SplitRecord(record);
  const size_t n = record.size();
  const size_t firstSpace = record.find(u' ');

  FUZZ_CHECK(f.hasSpace == (firstSpace != std::u16string::npos));
  if (!f.hasSpace) {
    for (int k = 1; k <= qdvz::kFieldCount; ++k) FUZZ_CHECK(f.F(k).empty());
    FUZZ_CHECK(f.field2Start == 0);
    return 0;
  }

  FUZZ_CHECK(f.F(1) == std::u16string_view(record).substr(0, firstSpace));
  size_t second = record.find_first_not_of(u' ', firstSpace);
  if (second == std::u16string::npos) second = n;
  FUZZ_CHECK(f.field2Start == static_cast<int>(second) + 1);

  // Where the verbatim part starts, read off the fields: field 10 begins with the quote only
  // when the quote rule applied (a quote inside an ordinary field 9 or 10 would have applied
  // it), and field 12 is reached only with eleven fields before it.
  bool quoted = !f.F(10).empty() && f.F(10)[0] == u'"';
  size_t verbatim = 0;
  if (quoted) {
    verbatim = f.F(9).size() + f.F(10).size();
    FUZZ_CHECK(f.F(11).empty() && f.F(12).empty());
    FUZZ_CHECK(f.F(9).find(u'"') == std::u16string::npos);
  } else {
    verbatim = f.F(12).size();
  }
  FUZZ_CHECK(verbatim <= n);
  const size_t p = n - verbatim;

  std::u16string joined;
  for (int k = 1; k <= qdvz::kFieldCount; ++k) joined += f.F(k);
  FUZZ_CHECK(joined == WithoutSpaces(std::u16string_view(record).substr(0, p)) +
                           std::u16string(std::u16string_view(record).substr(p)));

  // Before the verbatim part every field is one word: no spaces in it, and none empty
  // before a later non-empty one (field 1 excepted, which is empty when a space leads).
  int lastWordField = quoted ? 8 : 11;
  bool emptySeen = false;
  for (int k = 1; k <= lastWordField; ++k) {
    FUZZ_CHECK(f.F(k).find(u' ') == std::u16string::npos);
    if (k > 1 && f.F(k).empty()) emptySeen = true;
    if (emptySeen) FUZZ_CHECK(f.F(k).empty());
  }
  if (emptySeen) {
    for (int k = lastWordField + 1; k <= qdvz::kFieldCount; ++k) FUZZ_CHECK(f.F(k).empty());
  }
  // Field 9 of the quote rule holds words and the spaces between them, never leading ones.
  if (quoted && !f.F(9).empty()) FUZZ_CHECK(f.F(9)[0] != u' ');
  if (!quoted && !f.F(12).empty()) FUZZ_CHECK(f.F(12)[0] != u' ');
  return 0;
}
