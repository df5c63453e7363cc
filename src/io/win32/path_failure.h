#pragma once

#include <windows.h>

#include <filesystem>

#include "convert/failure.h"
#include "io/system_error.h"

namespace qdvz {

// Why the file at path could not be read or written: FileFailure's words, except that a path
// with a name or a whole beyond what Windows takes is named as too long. Windows reports such
// a path as if a folder or the file were missing, which would send the user looking for it.
Failure PathFailure(FileStep step, DWORD error, const std::filesystem::path& path);

}  // namespace qdvz
