#include "io/fs_path.h"

#include <string>

namespace qdvz {

std::filesystem::path ToFsPath(std::u16string_view path) {
  return std::filesystem::path(std::wstring(path.begin(), path.end()));
}

std::u16string FromFsPath(const std::filesystem::path& path) {
  const std::wstring& text = path.native();
  return std::u16string(text.begin(), text.end());
}

}  // namespace qdvz
