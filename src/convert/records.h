#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "convert/limits.h"

namespace qdvz {

// One usable record and the 1-based line of the data it came from. The text is a view into
// the data lines, which outlive the conversion.
struct SourceRecord {
  std::u16string_view text;
  int line = 0;
};

struct CollectedRecords {
  std::vector<SourceRecord> records;  // in line order
  bool markerSeen = false;            // the first "999" line was present
};

// Keeps the usable records of at most the first kDataLineSlots lines: comments (any "#"),
// lines shorter than 3 characters and the first line containing "999" are left out;
// leading spaces are cleaned off the rest.
CollectedRecords CollectSourceRecords(std::span<const std::u16string_view> dataLines);

// A line without its leading spaces; a line of nothing but spaces (or whose only non-space
// character is its last) is kept as it is.
std::u16string_view CleanRecord(std::u16string_view line);

inline constexpr int kFieldCount = 12;

// The fields of one record, as views into the record's text.
struct RecordFields {
  std::array<std::u16string_view, kFieldCount> field;  // field[0] is field 1
  int field2Start = 0;                                 // 1-based start of field 2
  bool hasSpace = false;                               // records without a space have no fields

  // Field n, 1-based as the tables count them.
  std::u16string_view F(int n) const { return field[static_cast<size_t>(n - 1)]; }
  std::u16string_view& F(int n) { return field[static_cast<size_t>(n - 1)]; }
};

// Splits a record at runs of spaces into at most twelve fields; the last field reached runs
// to the end of the record, and from the ninth field on a double quote opens field 10.
RecordFields SplitRecord(std::u16string_view record);

}  // namespace qdvz
