// Reading character-size items from decoded lines: it never crashes, a refusal names a line
// and keeps no items, and lines without double quotes give their comma-separated parts with
// the blanks around them dropped.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "convert/size_table.h"
#include "fuzz_check.h"
#include "io/source_file.h"

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

std::u16string Trimmed(std::u16string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return std::u16string(text.substr(first, last - first));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  qdvz::LoadedLines loaded = qdvz::SplitSourceBytes(bytes, std::numeric_limits<int>::max());
  if (loaded.error) return 0;
  const std::vector<std::u16string_view>& lines = loaded.lines;
  qdvz::SizeItemsRead read = qdvz::ReadSizeItems(lines);
  if (read.error) {
    FUZZ_CHECK(read.items.empty());
    FUZZ_CHECK(read.error->line >= 1 && read.error->line <= static_cast<int>(lines.size()));
    FUZZ_CHECK(lines[static_cast<size_t>(read.error->line - 1)].find(u'"') != std::u16string::npos);
    return 0;
  }
  // Every line gives at least one item, and a comma at most one more.
  size_t commas = 0;
  for (const auto& line : lines) {
    for (char16_t c : line) commas += c == u',';
  }
  FUZZ_CHECK(read.items.size() >= lines.size());
  FUZZ_CHECK(read.items.size() <= lines.size() + commas);

  bool anyQuote = false;
  for (const auto& line : lines) anyQuote = anyQuote || line.find(u'"') != std::u16string::npos;
  if (!anyQuote) {
    std::vector<std::u16string> expected;
    for (const auto& line : lines) {
      size_t start = 0;
      for (;;) {
        size_t comma = line.find(u',', start);
        expected.push_back(Trimmed(std::u16string_view(line).substr(
            start, comma == std::u16string::npos ? std::u16string::npos : comma - start)));
        if (comma == std::u16string::npos) break;
        start = comma + 1;
      }
    }
    FUZZ_CHECK(read.items == expected);
  }
  qdvz::SizeItems table;
  int stored = qdvz::StoreSizeItems(read.items, table);
  FUZZ_CHECK(stored == static_cast<int>(std::min<size_t>(read.items.size(), qdvz::kSizeSlots)));
  return 0;
}
