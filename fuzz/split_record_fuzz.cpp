// Splitting a record into fields. Runs of spaces separate the fields and are dropped, except
// in the part kept verbatim to the end of the record: field 12, or fields 9 and 10 when a
// double quote stands at or after the start of field 9. So, with p the start of that part
// (the record's length when there is none), the fields joined are the record before p
// without its spaces, followed by the record from p on; and before p every field is one word.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/records.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Bytes above ASCII stand for characters of the Japanese blocks, so that records mix both.
  std::u16string record;
  for (size_t i = 0; i < size; ++i) {
    record += static_cast<char16_t>(data[i] < 0x80 ? data[i] : 0x3000 + data[i]);
  }
  const std::u16string_view r = record;
  const qdvz::RecordFields f = qdvz::SplitRecord(r);
  const size_t firstSpace = r.find(u' ');
  FUZZ_CHECK(f.hasSpace == (firstSpace != std::u16string::npos));
  if (!f.hasSpace) {
    for (int k = 1; k <= qdvz::kFieldCount; ++k) FUZZ_CHECK(f.F(k).empty());
    FUZZ_CHECK(f.field2Start == 0);
    return 0;
  }
  FUZZ_CHECK(f.F(1) == r.substr(0, firstSpace));
  FUZZ_CHECK(f.field2Start ==
             static_cast<int>(std::min(r.find_first_not_of(u' ', firstSpace), r.size())) + 1);

  // Field 10 begins with the quote only when the quote rule applied (a quote inside an
  // ordinary field 9 or 10 would have applied it).
  bool quoted = !f.F(10).empty() && f.F(10)[0] == u'"';
  size_t verbatim = quoted ? f.F(9).size() + f.F(10).size() : f.F(12).size();
  FUZZ_CHECK(verbatim <= r.size());
  if (quoted) FUZZ_CHECK(f.F(11).empty() && f.F(12).empty() && f.F(9).find(u'"') == r.npos);
  const size_t p = r.size() - verbatim;
  std::u16string joined, expected;
  for (int k = 1; k <= qdvz::kFieldCount; ++k) joined += f.F(k);
  for (char16_t c : r.substr(0, p)) {
    if (c != u' ') expected += c;
  }
  FUZZ_CHECK(joined == expected + std::u16string(r.substr(p)));

  // No field before that part holds a space, and none is empty before a later one that is
  // not (field 1 is empty when a space leads); that part never starts with a space.
  bool emptySeen = false;
  for (int k = 2; k <= qdvz::kFieldCount; ++k) {
    bool word = k <= (quoted ? 8 : 11);
    if (word) FUZZ_CHECK(f.F(k).find(u' ') == r.npos);
    if (emptySeen) FUZZ_CHECK(f.F(k).empty());
    emptySeen = emptySeen || (word && f.F(k).empty());
  }
  FUZZ_CHECK(f.F(1).find(u' ') == r.npos);
  FUZZ_CHECK(verbatim == 0 || r[p] != u' ');
  return 0;
}
