#include "convert/records.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "convert/text.h"

namespace qdvz {
namespace {

// Whether text holds the unit c, looked for four units at a time: a zero unit in the word
// XOR c is one that equals c (exact: borrows only run past a zero unit).
bool HasUnit(std::u16string_view text, char16_t c) {
  constexpr uint64_t kOnes = 0x0001000100010001ull;
  constexpr uint64_t kHighs = 0x8000800080008000ull;
  const uint64_t every = kOnes * c;
  const char16_t* in = text.data();
  const size_t size = text.size();
  size_t i = 0;
  for (; i + 4 <= size; i += 4) {
    uint64_t word;
    std::memcpy(&word, in + i, sizeof word);
    uint64_t x = word ^ every;
    if (((x - kOnes) & ~x & kHighs) != 0) return true;
  }
  for (; i < size; ++i) {
    if (in[i] == c) return true;
  }
  return false;
}

}  // namespace

CollectedRecords CollectSourceRecords(std::span<const std::u16string_view> dataLines) {
  CollectedRecords collected;
  size_t slots = std::min(dataLines.size(), static_cast<size_t>(kDataLineSlots));
  collected.records.reserve(slots);  // growing would copy the records again and again
  for (size_t slot = 0; slot < slots; ++slot) {
    std::u16string_view line = dataLines[slot];
    if (HasUnit(line, u'#')) continue;
    if (line.size() < 3) continue;
    // Only the first "999" line is the marker; later ones are ordinary records.
    if (!collected.markerSeen && Contains(line, u"999")) {
      collected.markerSeen = true;
      continue;
    }
    collected.records.push_back({CleanRecord(line), static_cast<int>(slot + 1)});
  }
  return collected;
}

std::u16string_view CleanRecord(std::u16string_view line) {
  if (line.empty() || line[0] != u' ') return line;
  // The last character is not looked at: a line of spaces and one final letter stays whole.
  for (size_t k = 1; k + 1 < line.size(); ++k) {
    if (line[k] != u' ') return line.substr(k);
  }
  return line;
}

RecordFields SplitRecord(std::u16string_view record) {
  RecordFields split;
  const size_t length = record.size();
  // Plain loops: the searches of string_view look for a set of characters one call per
  // character, and records are split by the thousand.
  auto firstSpaceFrom = [&](size_t from) {
    while (from < length && record[from] != u' ') ++from;
    return from;
  };
  auto firstNonSpaceFrom = [&](size_t from) {
    while (from < length && record[from] == u' ') ++from;
    return from;
  };
  size_t end = firstSpaceFrom(0);
  if (end == length) return split;
  split.hasSpace = true;
  split.F(1) = record.substr(0, end);

  for (int k = 2; k <= 11; ++k) {
    size_t start = firstNonSpaceFrom(end);
    if (k == 2) split.field2Start = static_cast<int>(start) + 1;
    if (k == 9) {
      // From the ninth field on, a double quote opens the final text field.
      size_t quote = record.find(u'"', start);
      if (quote != std::u16string_view::npos) {
        split.F(9) = record.substr(start, quote - start);
        split.F(10) = record.substr(quote);
        return split;
      }
    }
    end = firstSpaceFrom(start);
    if (end == length) {
      split.F(k) = record.substr(start);
      return split;
    }
    split.F(k) = record.substr(start, end - start);
  }
  split.F(12) = record.substr(firstNonSpaceFrom(end));
  return split;
}

}  // namespace qdvz
