#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qdvz {

// The path of a name typed or chosen in the folder shown. A name that is a whole path
// ("/home/u/x.dat"; "C:\data\x.dat" or "\\server\share\x.dat" on Windows) is used as it is;
// on Windows "\data\x.dat" is on the folder's drive. Any other name, folders in it or not, is
// taken from the folder: the directory, the platform's separator unless the directory already
// ends in one, then the name verbatim.
std::u16string SelectedFilePath(std::u16string_view directory, std::u16string_view name);

// The folder and the name of a path, split at its last separator ('/', and '\' on Windows). A
// root folder keeps its separator ("/", "C:\"); a path without a separator has no folder.
struct FolderAndName {
  std::u16string folder;
  std::u16string name;
};
FolderAndName SplitFilePath(std::u16string_view path);

// What a path leads to, links followed. The window reads only regular files, since reading a
// pipe with no writer or a device such as /dev/zero would block it for good; and it saves to
// no pipe or socket, which would block it until some other program reads, nor to a device.
// On Windows a name that the system reads as a device is one whether or not it opens.
enum class FileKind { kMissing, kRegular, kFolder, kPipeOrSocket, kDevice };
FileKind KindOf(const std::filesystem::path& path);

#ifdef _WIN32
// Whether Windows reads path as a device rather than a file: a path in the device namespace
// ("\\.\COM1", "\\.\pipe\x") or a reserved name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to
// LPT9) in any folder, with any extension and trailing spaces, as this version of Windows
// reads them.
bool IsDevicePath(const std::filesystem::path& path);
#endif

// A path held as UTF-16 text, for the file system.
std::filesystem::path ToFsPath(std::u16string_view path);

}  // namespace qdvz
