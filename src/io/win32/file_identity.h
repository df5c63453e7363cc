#pragma once

// Windows only: the identity in what GetFileInformationByHandle says of a file.
#include <windows.h>

#include "io/file_identity.h"

namespace qdvz {

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info);

}  // namespace qdvz
