#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "convert/failure.h"
#include "convert/limits.h"

namespace qdvz {

// The lines are views into text, which they share: moving the whole keeps them valid, and
// copying is not possible.
struct LoadedLines {
  std::vector<std::u16string_view> lines;      // without their line ends; at most the limit
  bool truncated = false;                      // lines were left unread beyond the limit
  std::unique_ptr<const std::u16string> text;  // the decoded lines with their line ends
};

// Splits code page 932 bytes into lines (CR LF, LF or CR ends a line; a last line without
// an end still counts) and decodes the first maxLines of them. Bytes that are not code page
// 932 text are refused, naming the line: invalid sequences, NUL bytes, and files that start
// with a UTF-8 or UTF-16 byte-order mark.
Result<LoadedLines> SplitSourceBytes(std::string_view bytes, int maxLines = kMaxLoadedLines);

// Reads a QD data file as the window loads it.
Result<LoadedLines> LoadSourceLines(const std::filesystem::path& path,
                                    int maxLines = kMaxLoadedLines);

}  // namespace qdvz
