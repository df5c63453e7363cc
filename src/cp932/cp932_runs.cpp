#include "cp932/cp932_runs.h"

#include <algorithm>
#include <cstdio>

#include "convert/text.h"
#include "cp932/cp932_messages.h"

namespace qdvz::detail {

Failure NotDecodable(size_t offset) {
  return Failure{FailureKind::kNotCp932Text, msg::kNotCp932, 0, offset};
}

Failure NotEncodable(std::u16string_view text, size_t index) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(CodePointAt(text, index)));
  return Failure{FailureKind::kUnsavable, msg::CannotEncode(FromUtf8(hex)), 0, index};
}

Result<void> DecodeInRuns(std::string_view bytes, std::u16string& text, RunDecoder decodeRun,
                          size_t maxRun) {
  const size_t before = text.size();
  text.reserve(before + bytes.size());  // every byte gives at most one UTF-16 unit
  size_t i = 0;
  while (i < bytes.size()) {
    size_t start = i;
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    text.append(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                bytes.begin() + static_cast<std::ptrdiff_t>(i));
    if (i == bytes.size()) break;
    // The run ends at an ASCII byte that begins a character; the trail byte of a
    // double-byte character may itself lie in the ASCII range (0x835C is ソ).
    start = i;
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) >= 0x80 && i - start < maxRun) {
      i += IsLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    }
    i = std::min(i, bytes.size());
    size_t offset = 0;
    if (!decodeRun(bytes.substr(start, i - start), text, offset)) {
      text.resize(before);
      return NotDecodable(start + offset);
    }
  }
  return {};
}

Result<std::string> EncodeInRuns(std::u16string_view text, RunEncoder encodeRun, size_t maxRun) {
  std::string bytes;
  bytes.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    size_t start = i;
    while (i < text.size() && text[i] < 0x80) ++i;
    for (size_t k = start; k < i; ++k) bytes += static_cast<char>(text[k]);
    if (i == text.size()) break;
    // A lone surrogate has no code: converters would report it as a cut-off sequence or
    // quietly put a default character in its place.
    start = i;
    bool lone = false;
    while (i < text.size() && text[i] >= 0x80 && i - start < maxRun) {
      if (IsSurrogatePair(text, i)) {
        i += 2;
      } else if (IsSurrogate(text[i])) {
        lone = true;
        break;
      } else {
        ++i;
      }
    }
    size_t index = 0;
    bool ok = encodeRun(text.substr(start, i - start), bytes, index);
    if (!ok || lone) return NotEncodable(text, ok ? i : start + index);
  }
  return bytes;
}

}  // namespace qdvz::detail

namespace qdvz {

Result<std::u16string> DecodeCp932(std::string_view bytes) {
  std::u16string text;
  if (Result<void> decoded = AppendDecodedCp932(bytes, text); !decoded) return decoded.failure();
  return text;
}

}  // namespace qdvz
