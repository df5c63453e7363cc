#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace qdvz {

inline bool Contains(std::u16string_view text, std::u16string_view part) {
  return text.find(part) != std::u16string_view::npos;
}

// Codes are compared as whole texts: "1", "01" and "101" differ.
inline bool IsOneOf(std::u16string_view code, std::initializer_list<std::u16string_view> codes) {
  for (auto candidate : codes) {
    if (code == candidate) return true;
  }
  return false;
}

// Each line followed by CR LF: the display text of loaded lines.
std::u16string JoinWithCrLf(std::span<const std::u16string_view> lines);

// UTF-8 to UTF-16 and back, for messages, file names and tests. A lone surrogate, which has no
// UTF-8 form, becomes U+FFFD; so does a malformed UTF-8 sequence.
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view text);

}  // namespace qdvz
