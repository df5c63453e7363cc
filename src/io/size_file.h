#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "convert/refusal.h"

namespace qdvz {

struct LoadedSizeFile {
  std::u16string displayText;         // every line followed by CR LF
  std::vector<std::u16string> items;  // every item of the file, in order
  std::optional<Refusal> error;       // set when the file could not be read
};

// Reads a character-size file once as lines (for the display) and once as items.
LoadedSizeFile LoadSizeFile(const std::filesystem::path& path);

}  // namespace qdvz
