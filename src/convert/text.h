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

// The last three characters of a name (the whole name when it is shorter), which is all
// that the file-name checks of the window look at.
inline std::u16string_view LastThree(std::u16string_view name) {
  return name.size() <= 3 ? name : name.substr(name.size() - 3);
}

// Each line followed by CR LF: the display text of loaded lines.
std::u16string JoinWithCrLf(std::span<const std::u16string_view> lines);

// ASCII-only literal helpers for tests and messages.
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view text);

}  // namespace qdvz
