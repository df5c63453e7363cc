#pragma once

// Texts as the tests write them: UTF-8 literals made UTF-16, lines, documents.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "convert/text.h"

namespace qdvz::test {

// UTF-16 text from a UTF-8 literal.
inline std::u16string U(std::string_view utf8) {
  return FromUtf8(utf8);
}

// Lines of UTF-16 text from UTF-8 literals, and views of them as the engine takes them.
inline std::vector<std::u16string> Lines(std::initializer_list<std::string_view> lines) {
  std::vector<std::u16string> out;
  for (std::string_view line : lines) out.push_back(FromUtf8(line));
  return out;
}
inline std::vector<std::u16string_view> Views(const std::vector<std::u16string>& lines) {
  return {lines.begin(), lines.end()};
}

// The piece count times over.
inline std::string Repeat(std::string_view piece, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

// A document's lines, as UTF-8, without their CR LF ends.
inline std::vector<std::string> DocumentLines(std::u16string_view document) {
  std::vector<std::string> lines;
  std::string text = ToUtf8(document);
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

}  // namespace qdvz::test
