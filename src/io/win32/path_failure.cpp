#include "io/win32/path_failure.h"

#include <string>
#include <system_error>

#include "io/io_messages.h"

namespace qdvz {
namespace {

// Whether a name of path (over 255 characters), or the whole of it (MAX_PATH or more, unless
// it is written in the \\?\ form that has no such limit), is beyond what Windows takes.
bool TooLong(const std::filesystem::path& path) {
  for (const std::filesystem::path& part : path) {
    if (part.native().size() > 255) return true;
  }
  std::error_code ignored;
  const std::wstring full = std::filesystem::absolute(path, ignored).native();
  return full.size() >= MAX_PATH && full.rfind(L"\\\\?\\", 0) != 0;
}

}  // namespace

Failure PathFailure(FileStep step, DWORD error, const std::filesystem::path& path) {
  if ((error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ||
       error == ERROR_INVALID_NAME) &&
      TooLong(path)) {
    return Failure{FailureKind::kFileAccess, msg::kNameTooLong};
  }
  return FileFailure(step, static_cast<int>(error));
}

}  // namespace qdvz
