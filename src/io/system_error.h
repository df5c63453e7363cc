#pragma once

#include <span>
#include <system_error>

#include "convert/failure.h"

namespace qdvz {

enum class FileStep { kRead, kWrite };

// Why a file could not be read or written, in words for the user, from the system's error
// number: errno on POSIX, GetLastError() on Windows. Errors that a user can cause by typing a
// name or choosing a place have words of their own; any other is named by its number.
Failure FileFailure(FileStep step, int error);

// Whether an error the standard library reported holds a number of the system, which
// FileFailure knows. On Windows the library reports some errors by errno (generic errors)
// and the system's own codes as system errors; on POSIX both are errno.
bool HoldsSystemError(const std::error_code& error);

namespace detail {

// The words of one error of the system, for reading and for writing.
struct ErrorWords {
  long long error;
  const char16_t* reading;
  const char16_t* writing;
};

// The errors that have words, from the platform's own file.
std::span<const ErrorWords> SystemErrorWords();

}  // namespace detail

}  // namespace qdvz
