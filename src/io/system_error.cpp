#include "io/system_error.h"

#include "io/io_messages.h"

namespace qdvz {

Failure FileFailure(FileStep step, int error) {
  for (const detail::ErrorWords& words : detail::SystemErrorWords()) {
    if (words.error == error) {
      return {FailureKind::kFileAccess, step == FileStep::kRead ? words.reading : words.writing};
    }
  }
  return {FailureKind::kFileAccess,
          step == FileStep::kRead ? msg::CannotRead(error) : msg::CannotWrite(error)};
}

}  // namespace qdvz
