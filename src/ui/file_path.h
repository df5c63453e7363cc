#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qdvz {

// How the system writes paths: POSIX with '/' alone; Windows with '\' or '/', drives ("C:")
// and shares ("\\server\share"). The window follows the system it runs on; the tests try both.
enum class PathStyle { kPosix, kWindows };
inline constexpr PathStyle kSystemPathStyle =
    std::filesystem::path::preferred_separator == '\\' ? PathStyle::kWindows : PathStyle::kPosix;

// The path of a name typed or chosen in the folder shown. A name that is a whole path
// ("/home/u/x.dat"; "C:\data\x.dat" or "\\server\share\x.dat" on Windows) is used as it is;
// on Windows "\data\x.dat" is on the folder's drive. Any other name, folders in it or not, is
// taken from the folder: the directory, the platform's separator unless the directory already
// ends in one, then the name verbatim.
std::u16string SelectedFilePath(std::u16string_view directory, std::u16string_view name,
                                PathStyle style = kSystemPathStyle);

// The folder and the name of a path, split at its last separator ('/', and '\' on Windows). A
// root folder keeps its separator ("/", "C:\"); a path without a separator has no folder.
struct FolderAndName {
  std::u16string folder;
  std::u16string name;
};
FolderAndName SplitFilePath(std::u16string_view path, PathStyle style = kSystemPathStyle);

}  // namespace qdvz
