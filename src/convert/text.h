#pragma once

#include <array>
#include <cstddef>
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
template <size_t N>
bool IsOneOf(std::u16string_view code, const std::array<std::u16string_view, N>& codes) {
  for (auto candidate : codes) {
    if (code == candidate) return true;
  }
  return false;
}

// UTF-16 surrogates: a high one followed by a low one is one code point beyond U+FFFF;
// either alone is no character at all, and has no form in UTF-8 or code page 932.
inline bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c < 0xDC00;
}
inline bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c < 0xE000;
}
inline bool IsSurrogate(char32_t c) {
  return c >= 0xD800 && c < 0xE000;
}
// Whether a surrogate pair starts at index.
inline bool IsSurrogatePair(std::u16string_view text, size_t index) {
  return IsHighSurrogate(text[index]) && index + 1 < text.size() && IsLowSurrogate(text[index + 1]);
}
// The code point at index, joining a surrogate pair; a lone surrogate stands for itself.
inline char32_t CodePointAt(std::u16string_view text, size_t index) {
  if (!IsSurrogatePair(text, index)) return text[index];
  return 0x10000 + ((char32_t{text[index]} - 0xD800) << 10) + (text[index + 1] - 0xDC00);
}
// The index of the first surrogate without its partner, npos when there is none.
size_t FindLoneSurrogate(std::u16string_view text);

// Each line followed by CR LF: the display text of loaded lines.
std::u16string JoinWithCrLf(std::span<const std::u16string_view> lines);

// UTF-8 to UTF-16 and back, for messages, file names and tests. A lone surrogate, which has no
// UTF-8 form, becomes U+FFFD; so does a malformed UTF-8 sequence.
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view text);

}  // namespace qdvz
