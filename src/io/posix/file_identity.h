#pragma once

// POSIX only: the identity in what stat says of a file.
#include <sys/stat.h>

#include "io/file_identity.h"

namespace qdvz {

FileIdentity IdentityOf(const struct stat& info);

}  // namespace qdvz
