#include "io/size_file.h"

#include <limits>
#include <optional>

#include "convert/text.h"
#include "io/file_bytes.h"
#include "io/source_file.h"

namespace qdvz {
namespace {

// The number of items on one line of a character-size file, counted on its bytes as
// ReadSizeItems reads them from its text: blanks, double quotes and commas are never part of
// a double-byte character in code page 932. An unclosed quote counts as one item; it is
// refused when the line is read as text.
size_t CountItems(std::string_view line) {
  size_t count = 0;
  size_t pos = 0;
  for (;;) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos < line.size() && line[pos] == '"') {
      size_t close = line.find('"', pos + 1);
      if (close == std::string_view::npos) return count + 1;
      pos = std::min(line.find(',', close), line.size());
    } else {
      pos = std::min(line.find(',', pos), line.size());
    }
    ++count;
    if (pos >= line.size()) return count;
    ++pos;
  }
}

// Asks to stop reading after the line that holds the first item beyond the table, its line
// end included.
ReadEnough EnoughForTheTable() {
  return [scanned = size_t{0},
          items = size_t{0}](std::string_view bytes) mutable -> std::optional<size_t> {
    for (;;) {
      size_t stop = bytes.find_first_of("\r\n", scanned);
      if (stop == std::string_view::npos) return std::nullopt;
      size_t next = stop + 1;
      if (bytes[stop] == '\r') {
        if (next == bytes.size()) return std::nullopt;  // an LF may follow
        if (bytes[next] == '\n') ++next;
      }
      items += CountItems(bytes.substr(scanned, stop - scanned));
      scanned = next;
      if (items > kSizeSlots) return scanned;
    }
  };
}

Result<LoadedSizeFile> ReadSizeBytes(const Result<std::string>& file) {
  if (!file) return file.failure();
  // A size file has no line limit of its own: every line read is shown.
  Result<LoadedLines> lines = SplitSourceBytes(*file, std::numeric_limits<int>::max());
  if (!lines) return lines.failure();
  Result<std::vector<std::u16string>> items = ReadSizeItems(lines->lines);
  if (!items) return items.failure();
  return LoadedSizeFile{JoinWithCrLf(lines->lines), MakeSizeTable(*items)};
}

}  // namespace

Result<LoadedSizeFile> LoadSizeFile(const std::filesystem::path& path) {
  return ReadSizeBytes(ReadFileBytes(path, EnoughForTheTable()));
}

Result<LoadedSizeFile> LoadSizeFileFromStandardInput() {
  return ReadSizeBytes(ReadStandardInput(EnoughForTheTable()));
}

}  // namespace qdvz
