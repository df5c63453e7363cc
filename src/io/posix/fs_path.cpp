#include "io/fs_path.h"

#include "convert/text.h"

namespace qdvz {

std::filesystem::path ToFsPath(std::u16string_view path) {
  return std::filesystem::path(ToUtf8(path));
}

std::u16string FromFsPath(const std::filesystem::path& path) {
  return FromUtf8(path.native());
}

}  // namespace qdvz
