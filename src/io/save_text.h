#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "convert/failure.h"

namespace qdvz {

// The bytes saved for a display text: the text, one CR LF, encoded as code page 932.
// Refuses text with characters that the code page cannot hold, naming the character and
// its line.
Result<std::string> EncodeSavedText(std::u16string_view displayText);

// Writes bytes to path so that a failure never leaves a damaged or half-written file:
//  - an existing regular file is replaced through a temporary file next to it, written and
//    flushed to the disk, then renamed over it (through a symbolic link, the file it leads
//    to is replaced, and the link stays); its permissions are kept;
//  - a new file is created under its own name, only if nothing is there yet, and removed
//    again when its bytes cannot all be written;
//  - a device or a pipe, which cannot be replaced, is written in place;
//  - a folder, or a read-only file, is refused.
Result<void> WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// EncodeSavedText followed by WriteFileAtomically.
Result<void> SaveText(const std::filesystem::path& path, std::u16string_view displayText);

}  // namespace qdvz
