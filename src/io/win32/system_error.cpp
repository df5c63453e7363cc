#include <windows.h>

#include "io/io_messages.h"
#include "io/system_error.h"

namespace qdvz {
namespace {

constexpr detail::ErrorWords kWords[] = {
    {ERROR_FILE_NOT_FOUND, msg::kFileNotFound, msg::kFolderNotFound},
    {ERROR_PATH_NOT_FOUND, msg::kFileNotFound, msg::kFolderNotFound},
    {ERROR_INVALID_DRIVE, msg::kFileNotFound, msg::kFolderNotFound},
    {ERROR_BAD_NETPATH, msg::kFileNotFound, msg::kFolderNotFound},
    {ERROR_BAD_NET_NAME, msg::kFileNotFound, msg::kFolderNotFound},
    {ERROR_DIRECTORY, msg::kNotFolderOnPath, msg::kNotFolderOnPath},
    {ERROR_ACCESS_DENIED, msg::kNoReadPermission, msg::kNoWritePermission},
    {ERROR_WRITE_PROTECT, msg::kReadOnlyFileSystem, msg::kReadOnlyFileSystem},
    {ERROR_SHARING_VIOLATION, msg::kFileInUse, msg::kFileInUse},
    {ERROR_LOCK_VIOLATION, msg::kFileInUse, msg::kFileInUse},
    {ERROR_INVALID_NAME, msg::kInvalidName, msg::kInvalidName},
    {ERROR_BAD_PATHNAME, msg::kInvalidName, msg::kInvalidName},
    {ERROR_FILENAME_EXCED_RANGE, msg::kNameTooLong, msg::kNameTooLong},
    {ERROR_CANT_RESOLVE_FILENAME, msg::kLinkLoop, msg::kLinkLoop},
    {ERROR_DISK_FULL, msg::kDiskFull, msg::kDiskFull},
    {ERROR_HANDLE_DISK_FULL, msg::kDiskFull, msg::kDiskFull},
    {ERROR_TOO_MANY_OPEN_FILES, msg::kTooManyOpenFiles, msg::kTooManyOpenFiles},
    {ERROR_NOT_READY, msg::kDriveNotReady, msg::kDriveNotReady},
    {ERROR_CRC, msg::kDeviceError, msg::kDeviceError},
    {ERROR_IO_DEVICE, msg::kDeviceError, msg::kDeviceError},
};

}  // namespace

std::span<const detail::ErrorWords> detail::SystemErrorWords() {
  return kWords;
}

bool HoldsSystemError(const std::error_code& error) {
  return error.category() == std::system_category();
}

}  // namespace qdvz
