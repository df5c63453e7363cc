#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qdvz {

// The directory, the platform's separator unless the directory already ends in one, then
// the name verbatim.
std::u16string SelectedFilePath(std::u16string_view directory, std::u16string_view name);

// The folder and the name of a path, split at its last separator ('/', and '\' on Windows). A
// root folder keeps its separator ("/", "C:\"); a path without a separator has no folder.
struct FolderAndName {
  std::u16string folder;
  std::u16string name;
};
FolderAndName SplitFilePath(std::u16string_view path);

// Whether a path leads to something other than a regular file or a folder: a pipe, a socket
// or a device. The window reads only files, since reading a pipe with no writer or a device
// such as /dev/zero would block it for good.
bool IsSpecialFile(const std::filesystem::path& path);

// A path held as UTF-16 text, for the file system.
std::filesystem::path ToFsPath(std::u16string_view path);

}  // namespace qdvz
