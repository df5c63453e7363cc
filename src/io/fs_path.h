#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qdvz {

// A path held as UTF-16 text (as the window holds it), for the file system. On Windows the
// text is the path itself: even a name that no code page can hold reaches the file system
// unchanged. On POSIX the path is the text's UTF-8 bytes.
std::filesystem::path ToFsPath(std::u16string_view path);
// The other way: a path as UTF-16 text, to be shown. On POSIX its bytes are read as UTF-8.
std::u16string FromFsPath(const std::filesystem::path& path);

}  // namespace qdvz
