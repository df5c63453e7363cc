#pragma once

#include <filesystem>
#include <optional>

#include "io/file_kind.h"

namespace qdvz {

// What the name alone makes of a path, whatever is there: on Windows a name in the device
// namespace or a reserved name (CON, NUL, COM1 …) is a device or a pipe. Nothing on POSIX,
// where a device is a file like any other (KindOf asks the file system).
std::optional<FileKind> KindOfDeviceName(const std::filesystem::path& path);

}  // namespace qdvz
