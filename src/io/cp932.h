#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qdvz {

// Code page 932 (Windows Shift-JIS) through the system's converter. Nothing is ever
// replaced: input that the code page cannot represent is reported instead.
struct Cp932Decoded {
  std::u16string text;
  bool ok = true;
  size_t errorOffset = 0;  // byte offset of the first invalid sequence when !ok
};
Cp932Decoded DecodeCp932(std::string_view bytes);

struct Cp932Encoded {
  std::string bytes;
  bool ok = true;
  size_t errorIndex = 0;  // index of the first UTF-16 unit that has no code when !ok
};
Cp932Encoded EncodeCp932(std::u16string_view text);

}  // namespace qdvz
