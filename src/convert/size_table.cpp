#include "convert/size_table.h"

#include <algorithm>

#include "convert/messages.h"

namespace qdvz {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

}  // namespace

Result<std::vector<std::u16string>> ReadSizeItems(std::span<const std::u16string_view> lines) {
  std::vector<std::u16string> items;
  for (size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    std::u16string_view line = lines[lineIndex];
    size_t pos = 0;
    for (;;) {
      while (pos < line.size() && IsBlank(line[pos])) ++pos;
      if (pos < line.size() && line[pos] == u'"') {
        size_t close = line.find(u'"', pos + 1);
        if (close == std::u16string_view::npos) {
          return Failure{FailureKind::kBadSizeFile, msg::kUnclosedQuote,
                         static_cast<int>(lineIndex + 1)};
        }
        items.emplace_back(line.substr(pos + 1, close - pos - 1));
        // Whatever stands between the closing quote and the next comma is not part of it.
        pos = std::min(line.find(u',', close), line.size());
      } else {
        size_t end = std::min(line.find(u',', pos), line.size());
        size_t last = end;
        while (last > pos && IsBlank(line[last - 1])) --last;
        items.emplace_back(line.substr(pos, last - pos));
        pos = end;
      }
      if (pos >= line.size()) break;
      ++pos;  // the comma; an item follows it even at the end of the line
    }
  }
  return items;
}

SizeTable MakeSizeTable(std::span<const std::u16string> items) {
  SizeTable table;
  std::copy_n(items.begin(), std::min(items.size(), table.items.size()), table.items.begin());
  if (items.size() > table.items.size()) {
    table.warning = Failure{FailureKind::kCutOff, msg::kSizeItemsOverflow};
  }
  return table;
}

}  // namespace qdvz
