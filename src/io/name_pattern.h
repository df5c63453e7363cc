#pragma once

#include <string_view>

namespace qdvz {

// Whether a file name matches a pattern of * (any characters, none included) and ? (one
// character), as a POSIX shell matches them, but ignoring case as Windows file names do.
// Windows' own matching (FindFirstFileW, LB_DIR) also tries each file's 8.3 short name, so
// that "*.dat" finds "x.data" through "X~1.DAT"; this looks at the name as given only.
bool MatchesNamePattern(std::u16string_view name, std::u16string_view pattern);

}  // namespace qdvz
