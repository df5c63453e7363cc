#include "io/file_name_case.h"

namespace qdvz {

bool SameLetterInFileNames(char16_t a, char16_t b) {
  auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; };
  return upper(a) == upper(b);
}

}  // namespace qdvz
