#pragma once

// The operations of each platform that WriteFileSafely (save_text.h) puts together. The
// policy of which one is used when lives in write_file.cpp, once for every platform.
#include <filesystem>
#include <optional>
#include <string_view>

#include "convert/failure.h"
#include "io/file_identity.h"

namespace qdvz::detail {

// What stands at a path that is about to be written.
struct WriteTarget {
  enum class Kind { kMissing, kRegularFile, kFolder, kOther };  // kOther: a device or a pipe
  Kind kind = Kind::kMissing;
  bool readOnly = false;                 // a regular file that may not be written
  std::optional<FileIdentity> identity;  // of what exists, where the system tells
  // Where the path leads through symbolic links: the file to replace, or for a link that
  // leads nowhere yet, the file to create. The path itself when it is no link.
  std::filesystem::path finalPath;
};
Result<WriteTarget> InspectWriteTarget(const std::filesystem::path& path);

// Writes bytes to a temporary file next to path and gives it the name path, only if nothing
// has that name; removes it again when the bytes cannot all be written. kTaken when
// something appeared there meanwhile, which is left as it is.
enum class NewFile { kWritten, kTaken };
Result<NewFile> WriteNewFile(const std::filesystem::path& path, std::string_view bytes);

// Writes bytes to a temporary file next to path, with path's permissions, flushes it to the
// disk and renames it over path.
Result<void> ReplaceByRename(const std::filesystem::path& path, std::string_view bytes);

// Opens what is at path for writing and writes bytes to it: for devices and pipes.
Result<void> WriteInPlace(const std::filesystem::path& path, std::string_view bytes);

// Writes bytes to a standard stream, at its place.
Result<void> WriteToStream(StandardStream stream, std::string_view bytes);

}  // namespace qdvz::detail
