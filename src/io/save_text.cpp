#include "io/save_text.h"

#include <algorithm>

#include "cp932/cp932.h"

namespace qdvz {

Result<std::string> EncodeSavedText(std::u16string_view displayText) {
  Result<std::string> encoded = EncodeCp932(displayText);
  if (!encoded) {
    Failure failure = encoded.failure();
    if (failure.kind != FailureKind::kUnsavable) return failure;
    auto before = displayText.begin() + static_cast<std::ptrdiff_t>(failure.position);
    failure.line = 1 + static_cast<int>(std::count(displayText.begin(), before, u'\n'));
    return failure;
  }
  *encoded += "\r\n";  // the line end that saving adds
  return encoded;
}

Result<void> SaveText(const std::filesystem::path& path, std::u16string_view displayText) {
  Result<std::string> encoded = EncodeSavedText(displayText);
  if (!encoded) return encoded.failure();
  return WriteFileSafely(path, *encoded);
}

}  // namespace qdvz
