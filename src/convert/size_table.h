#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "convert/refusal.h"

namespace qdvz {

inline constexpr int kSizeSlots = 51;
using SizeItems = std::array<std::u16string, kSizeSlots>;

// The items of a character-size file, in order, across all lines: items are separated by
// commas and line ends, blanks around an unquoted item are dropped, a double-quoted item
// loses its quotes and may hold commas, an empty line is one empty item. A quote that is
// never closed on its line is refused, naming the line.
struct SizeItemsRead {
  std::vector<std::u16string> items;
  std::optional<Refusal> error;
};
SizeItemsRead ReadSizeItems(std::span<const std::u16string_view> lines);

// Stores items into slots 0 upward, leaving later slots as they were; items beyond the
// last slot are not stored. Returns how many items were stored.
int StoreSizeItems(std::span<const std::u16string> items, SizeItems& table);

// The table counts as loaded when slot 0 holds something.
inline bool HasSizeData(const SizeItems& table) {
  return !table[0].empty();
}

}  // namespace qdvz
