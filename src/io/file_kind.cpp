#include "io/file_kind.h"

#include <system_error>

#include "io/device_name.h"

namespace qdvz {

FileKind KindOf(const std::filesystem::path& path) {
  using std::filesystem::file_type;
  // Told by the name, not opened: opening a port or a printer may already do something.
  if (std::optional<FileKind> device = KindOfDeviceName(path)) return *device;
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

}  // namespace qdvz
