#include "io/file_name_case.h"

#include <windows.h>

namespace qdvz {

bool SameLetterInFileNames(char16_t a, char16_t b) {
  // The comparison the file system makes: its own upper-case table, full-width letters too.
  const wchar_t left = a, right = b;
  return CompareStringOrdinal(&left, 1, &right, 1, TRUE) == CSTR_EQUAL;
}

}  // namespace qdvz
