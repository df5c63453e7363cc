#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "convert/failure.h"
#include "convert/limits.h"

namespace qdvz {

using SizeItems = std::array<std::u16string, kSizeSlots>;

// The items of a character-size file, in order, across all lines: items are separated by
// commas and line ends, blanks around an unquoted item are dropped, a double-quoted item
// loses its quotes and may hold commas, an empty line is one empty item. A quote that is
// never closed on its line is refused, naming the line.
Result<std::vector<std::u16string>> ReadSizeItems(std::span<const std::u16string_view> lines);

// The table made of a file's items: slot 0 upward, empty beyond the last item. Items beyond
// the last slot are left out, with a warning.
struct SizeTable {
  SizeItems items;
  std::optional<Failure> warning;
};
SizeTable MakeSizeTable(std::span<const std::u16string> items);

// The table counts as loaded when slot 0 holds something.
inline bool HasSizeData(const SizeItems& table) {
  return !table[0].empty();
}

}  // namespace qdvz
