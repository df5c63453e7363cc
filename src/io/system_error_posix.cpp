#include <errno.h>

#include "io/io_messages.h"
#include "io/system_error.h"

namespace qdvz {
namespace {

struct ErrorWords {
  int error;
  const char16_t* reading;
  const char16_t* writing;
};

constexpr ErrorWords kWords[] = {
    {ENOENT, msg::kFileNotFound, msg::kFolderNotFound},
    {ENOTDIR, msg::kNotFolderOnPath, msg::kNotFolderOnPath},
    {EACCES, msg::kNoReadPermission, msg::kNoWritePermission},
    {EPERM, msg::kNoReadPermission, msg::kNoWritePermission},
    {EISDIR, msg::kIsFolder, msg::kCannotSaveToFolder},
    {EROFS, msg::kReadOnlyFileSystem, msg::kReadOnlyFileSystem},
    {ELOOP, msg::kLinkLoop, msg::kLinkLoop},
    {ENAMETOOLONG, msg::kNameTooLong, msg::kNameTooLong},
    {ENOSPC, msg::kDiskFull, msg::kDiskFull},
    {EDQUOT, msg::kDiskFull, msg::kDiskFull},
    {EMFILE, msg::kTooManyOpenFiles, msg::kTooManyOpenFiles},
    {ENFILE, msg::kTooManyOpenFiles, msg::kTooManyOpenFiles},
    {ETXTBSY, msg::kFileInUse, msg::kFileInUse},
    {EBUSY, msg::kFileInUse, msg::kFileInUse},
    {EIO, msg::kDeviceError, msg::kDeviceError},
};

}  // namespace

Failure FileFailure(FileStep step, int error) {
  for (const ErrorWords& words : kWords) {
    if (words.error == error) {
      return {FailureKind::kFileAccess, step == FileStep::kRead ? words.reading : words.writing};
    }
  }
  return {FailureKind::kFileAccess,
          step == FileStep::kRead ? msg::CannotRead(error) : msg::CannotWrite(error)};
}

}  // namespace qdvz
