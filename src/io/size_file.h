#pragma once

#include <filesystem>
#include <string>

#include "convert/failure.h"
#include "convert/size_table.h"

namespace qdvz {

struct LoadedSizeFile {
  std::u16string displayText;  // every line read followed by CR LF
  SizeTable table;             // its items, and a warning when some were left out
};

// Reads a character-size file once as lines (for the display) and once as items. Only one
// item beyond the table is needed to say that some were left out: reading stops after the
// line that holds it, so that what is read and shown stays small whatever the file's size.
// A file that fits the table is read and shown whole.
Result<LoadedSizeFile> LoadSizeFile(const std::filesystem::path& path);

// The same from standard input.
Result<LoadedSizeFile> LoadSizeFileFromStandardInput();

}  // namespace qdvz
