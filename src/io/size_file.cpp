#include "io/size_file.h"

#include <limits>

#include "convert/size_table.h"
#include "convert/text.h"
#include "io/file_bytes.h"
#include "io/source_file.h"

namespace qdvz {

LoadedSizeFile LoadSizeFile(const std::filesystem::path& path) {
  LoadedSizeFile loaded;
  FileBytes file = ReadFileBytes(path);
  if (file.error) {
    loaded.error = file.error;
    return loaded;
  }
  // A size file has no line limit of its own: every line is shown.
  LoadedLines lines = SplitSourceBytes(file.bytes, std::numeric_limits<int>::max());
  if (lines.error) {
    loaded.error = lines.error;
    return loaded;
  }
  SizeItemsRead items = ReadSizeItems(lines.lines);
  if (items.error) {
    loaded.error = items.error;
    return loaded;
  }
  loaded.displayText = JoinWithCrLf(lines.lines);
  loaded.items = std::move(items.items);
  return loaded;
}

}  // namespace qdvz
