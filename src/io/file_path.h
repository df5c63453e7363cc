#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qdvz {

// The directory, the platform's separator unless the directory already ends in one, then
// the name verbatim.
std::u16string SelectedFilePath(std::u16string_view directory, std::u16string_view name);

// Whether a path leads to something other than a regular file or a folder: a pipe, a socket
// or a device. The window reads only files, since reading a pipe with no writer or a device
// such as /dev/zero would block it for good.
bool IsSpecialFile(const std::filesystem::path& path);

// A path held as UTF-16 text, for the file system.
std::filesystem::path ToFsPath(std::u16string_view path);

}  // namespace qdvz
