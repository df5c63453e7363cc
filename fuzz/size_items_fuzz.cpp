// Reading character-size items from decoded lines, and the table made of them: a refusal
// names a line holding a double quote; every line gives at least one item and each comma at
// most one more; lines without double quotes give their comma-separated parts without the
// blanks around them; the table holds the first 51 items and warns of more.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "convert/size_table.h"
#include "fuzz_check.h"
#include "io/source_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  qdvz::Result<qdvz::LoadedLines> loaded =
      qdvz::SplitSourceBytes(bytes, std::numeric_limits<int>::max());
  if (!loaded) return 0;
  const std::vector<std::u16string_view>& lines = loaded->lines;
  qdvz::Result<std::vector<std::u16string>> items = qdvz::ReadSizeItems(lines);
  if (!items) {
    const qdvz::Failure& failure = items.failure();
    FUZZ_CHECK(failure.kind == qdvz::FailureKind::kBadSizeFile);
    FUZZ_CHECK(failure.line >= 1 && failure.line <= static_cast<int>(lines.size()));
    FUZZ_CHECK(lines[static_cast<size_t>(failure.line - 1)].find(u'"') != std::u16string::npos);
    return 0;
  }
  size_t commas = 0;
  bool quotes = false;
  std::vector<std::u16string> parts;  // what the items are when there are no quotes
  for (std::u16string_view line : lines) {
    quotes = quotes || line.find(u'"') != std::u16string::npos;
    for (size_t start = 0;; ++commas) {
      size_t end = line.find(u',', start);
      std::u16string_view part = line.substr(start, end - start);
      while (!part.empty() && (part[0] == u' ' || part[0] == u'\t')) part.remove_prefix(1);
      while (!part.empty() && (part.back() == u' ' || part.back() == u'\t')) part.remove_suffix(1);
      parts.emplace_back(part);
      if (end == std::u16string::npos) break;
      start = end + 1;
    }
  }
  FUZZ_CHECK(items->size() >= lines.size() && items->size() <= lines.size() + commas);
  FUZZ_CHECK(quotes || *items == parts);

  qdvz::SizeTable table = qdvz::MakeSizeTable(*items);
  FUZZ_CHECK(table.warning.has_value() == (items->size() > qdvz::kSizeSlots));
  for (size_t slot = 0; slot < qdvz::kSizeSlots; ++slot) {
    FUZZ_CHECK(table.items[slot] == (slot < items->size() ? (*items)[slot] : u""));
  }
  return 0;
}
