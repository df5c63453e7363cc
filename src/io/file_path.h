#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qdvz {

// The directory, the platform's separator unless the directory already ends in one, then
// the name verbatim.
std::u16string SelectedFilePath(std::u16string_view directory, std::u16string_view name);

// A path held as UTF-16 text, for the file system.
std::filesystem::path ToFsPath(std::u16string_view path);

}  // namespace qdvz
