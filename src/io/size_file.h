#pragma once

#include <filesystem>
#include <string>

#include "convert/failure.h"
#include "convert/size_table.h"

namespace qdvz {

struct LoadedSizeFile {
  std::u16string displayText;  // every line followed by CR LF
  SizeTable table;             // its items, and a warning when some were left out
};

// Reads a character-size file once as lines (for the display) and once as items.
Result<LoadedSizeFile> LoadSizeFile(const std::filesystem::path& path);

}  // namespace qdvz
