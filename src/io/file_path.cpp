#include "io/file_path.h"

#include <system_error>

#include "convert/text.h"

namespace qdvz {

#ifdef _WIN32
inline constexpr char16_t kSeparator = u'\\';
#else
inline constexpr char16_t kSeparator = u'/';
#endif

std::u16string SelectedFilePath(std::u16string_view directory, std::u16string_view name) {
  std::u16string path(directory);
  if (path.empty() || path.back() != kSeparator) path += kSeparator;
  path += name;
  return path;
}

FileKind KindOf(const std::filesystem::path& path) {
  using std::filesystem::file_type;
  std::error_code error;
  switch (std::filesystem::status(path, error).type()) {
    case file_type::regular:
      return FileKind::kRegular;
    case file_type::directory:
      return FileKind::kFolder;
    case file_type::fifo:
    case file_type::socket:
      return FileKind::kPipeOrSocket;
    case file_type::block:
    case file_type::character:
      return FileKind::kDevice;
    default:
      return FileKind::kMissing;  // or what cannot be looked at: opening it will say why
  }
}

std::filesystem::path ToFsPath(std::u16string_view path) {
#ifdef _WIN32
  return std::filesystem::path(std::wstring(path.begin(), path.end()));
#else
  return std::filesystem::path(ToUtf8(path));
#endif
}

}  // namespace qdvz
