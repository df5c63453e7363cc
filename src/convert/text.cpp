#include "convert/text.h"

namespace qdvz {

std::u16string JoinWithCrLf(std::span<const std::u16string_view> lines) {
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::u16string text;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += u"\r\n";
  }
  return text;
}

size_t FindLoneSurrogate(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsSurrogatePair(text, i)) {
      ++i;
    } else if (IsSurrogate(text[i])) {
      return i;
    }
  }
  return std::u16string_view::npos;
}

std::u16string FromUtf8(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    auto byte = static_cast<unsigned char>(utf8[i]);
    // The length the lead byte announces (0: it is no lead byte), the bits it gives, and the
    // least code point of that length.
    size_t len = byte < 0x80           ? 1
                 : (byte >> 5) == 0x6  ? 2
                 : (byte >> 4) == 0xE  ? 3
                 : (byte >> 3) == 0x1E ? 4
                                       : 0;
    static constexpr unsigned char kBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    char32_t cp = byte & kBits[len];
    size_t k = 1;
    for (; k < len && i + k < utf8.size(); ++k) {
      auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0u) != 0x80) break;
      cp = (cp << 6) | (next & 0x3Fu);
    }
    // A sequence cut off, too long for its code point, a surrogate or beyond U+10FFFF is
    // malformed: one U+FFFD for the bytes read.
    if (len == 0 || k < len || cp < kLeast[len] || cp > 0x10FFFF || IsSurrogate(cp)) {
      cp = 0xFFFD;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += k;
  }
  return out;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = CodePointAt(text, i);
    if (cp >= 0x10000) {
      ++i;
    } else if (IsSurrogate(cp)) {
      cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace qdvz
