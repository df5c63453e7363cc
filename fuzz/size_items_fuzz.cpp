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
  qdvz::Result<qdvz::LoadedLines> loaded =
      qdvz::SplitSourceBytes(bytes, std::numeric_limits<int>::max());
  if (!loaded) return 0;
  const std::vector<std::u16string_view>& lines = loaded->lines;
  qdvz::Result<std::vector<std::u16string>> read = qdvz::ReadSizeItems(lines);
  if (!read) {
    const qdvz::Failure& failure = read.failure();
    FUZZ_CHECK(failure.kind == qdvz::FailureKind::kBadSizeFile);
    FUZZ_CHECK(failure.line >= 1 && failure.line <= static_cast<int>(lines.size()));
    FUZZ_CHECK(lines[static_cast<size_t>(failure.line - 1)].find(u'"') != std::u16string::npos);
    return 0;
  }
  const std::vector<std::u16string>& items = *read;
  // Every line gives at least one item, and a comma at most one more.
  size_t commas = 0;
  for (const auto& line : lines) {
    for (char16_t c : line) commas += c == u',';
  }
  FUZZ_CHECK(items.size() >= lines.size());
  FUZZ_CHECK(items.size() <= lines.size() + commas);

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
    FUZZ_CHECK(items == expected);
  }
  qdvz::SizeTable table = qdvz::MakeSizeTable(items);
  FUZZ_CHECK(table.warning.has_value() == (items.size() > qdvz::kSizeSlots));
  for (size_t slot = 0; slot < qdvz::kSizeSlots; ++slot) {
    FUZZ_CHECK(table.items[slot] == (slot < items.size() ? items[slot] : std::u16string()));
  }
  return 0;
}
