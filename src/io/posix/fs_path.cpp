#include "io/fs_path.h"

#include "convert/text.h"

namespace qdvz {

std::filesystem::path ToFsPath(std::u16string_view path) {
  return std::filesystem::path(ToUtf8(path));
}

}  // namespace qdvz
