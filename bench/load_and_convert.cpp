// load_and_convert SIZES DATA: what the window does with a data file, without the window:
// loads it (the lines, each kept as its own text, and the display text of them all), then
// converts the kept lines. For measuring the memory of a load and a conversion
// (bench/memory.sh); prints the length of the document, or the failure.
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "convert/convert_records.h"
#include "convert/records.h"
#include "convert/size_table.h"
#include "convert/text.h"
#include "io/size_file.h"
#include "io/source_file.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: load_and_convert SIZES DATA\n");
    return 2;
  }
  auto sizes = qdvz::LoadSizeFile(argv[1]);
  auto loaded = qdvz::LoadSourceLines(argv[2]);
  if (!sizes || !loaded) {
    std::fprintf(stderr, "cannot load\n");
    return 1;
  }
  auto lines = std::make_unique<std::array<std::u16string, qdvz::kDataLineSlots>>();
  size_t count = std::min(loaded->lines.size(), lines->size());
  std::copy_n(loaded->lines.begin(), count, lines->begin());
  std::u16string display = qdvz::JoinWithCrLf(std::span(loaded->lines).first(count));
  auto document = qdvz::ConvertRecords(*lines, sizes->table.items);
  std::printf("%zu lines, %zu units shown, %s\n", count, display.size(),
              document ? std::to_string(document->size()).c_str()
                       : qdvz::ToUtf8(document.failure().message).c_str());
  return 0;
}
