#pragma once

namespace qdvz {

// Whether two letters are one in a file name, as the file system compares names: on Windows
// by its own upper-case table (full-width letters too); elsewhere only ASCII letters match
// their other case, for the patterns of the few file systems that ignore case.
bool SameLetterInFileNames(char16_t a, char16_t b);

}  // namespace qdvz
