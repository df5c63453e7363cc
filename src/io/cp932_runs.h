#pragma once

#include <string_view>

#include "io/cp932.h"

namespace qdvz::detail {

// The conversions of cp932.h done by passing every run of characters outside ASCII to iconv
// whole, without remembering single characters: slower, and the reference that the
// remembered conversions must agree with byte for byte.
Cp932Decoded DecodeCp932ByRuns(std::string_view bytes);
Cp932Encoded EncodeCp932ByRuns(std::u16string_view text);

}  // namespace qdvz::detail
