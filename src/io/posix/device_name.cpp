#include "io/device_name.h"

#include "io/io_messages.h"

namespace qdvz {

std::optional<FileKind> KindOfDeviceName(const std::filesystem::path&) {
  return std::nullopt;
}

namespace msg {
extern const char16_t kCannotSaveToDevice[] = u"デバイスには保存できません";
}  // namespace msg

}  // namespace qdvz
