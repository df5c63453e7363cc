#include "io/size_file.h"

#include <limits>

#include "convert/text.h"
#include "io/file_bytes.h"
#include "io/source_file.h"

namespace qdvz {

Result<LoadedSizeFile> LoadSizeFile(const std::filesystem::path& path) {
  Result<std::string> file = ReadFileBytes(path);
  if (!file) return file.failure();
  // A size file has no line limit of its own: every line is shown.
  Result<LoadedLines> lines = SplitSourceBytes(*file, std::numeric_limits<int>::max());
  if (!lines) return lines.failure();
  Result<std::vector<std::u16string>> items = ReadSizeItems(lines->lines);
  if (!items) return items.failure();
  return LoadedSizeFile{JoinWithCrLf(lines->lines), MakeSizeTable(*items)};
}

}  // namespace qdvz
