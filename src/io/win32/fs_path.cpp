#include "io/fs_path.h"

#include <string>

namespace qdvz {

std::filesystem::path ToFsPath(std::u16string_view path) {
  return std::filesystem::path(std::wstring(path.begin(), path.end()));
}

}  // namespace qdvz
