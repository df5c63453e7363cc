#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "convert/size_table.h"
#include "convert/text.h"

namespace qdvz::test {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Lines of UTF-16 text from UTF-8 literals.
inline std::vector<std::u16string> Lines(std::initializer_list<const char*> lines) {
  std::vector<std::u16string> out;
  for (const char* line : lines) out.push_back(FromUtf8(line));
  return out;
}

// Views of lines, as the loaded lines are handed to the engine.
inline std::vector<std::u16string_view> Views(const std::vector<std::u16string>& lines) {
  return {lines.begin(), lines.end()};
}

// The document's lines without their CR LF ends.
inline std::vector<std::string> DocumentLines(const std::u16string& document) {
  std::vector<std::string> lines;
  std::string text = ToUtf8(document);
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The character sizes of the worked text examples: sizes 1 to 10, first then second values.
inline SizeItems ExampleSizes() {
  SizeItems sizes;
  const char* values[] = {"2.5", "3",   "3.5", "4",   "5", "6",   "7",   "8",   "10", "12",
                          "2",   "2.4", "2.8", "3.2", "4", "4.8", "5.6", "6.4", "8",  "9.6"};
  for (size_t i = 0; i < std::size(values); ++i) sizes[i] = FromUtf8(values[i]);
  return sizes;
}

}  // namespace qdvz::test
