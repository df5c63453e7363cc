#include "io/cp932_runs.h"

#include <algorithm>

namespace qdvz::detail {

Cp932Decoded DecodeInRuns(std::string_view bytes, RunDecoder decodeRun, size_t maxRun) {
  Cp932Decoded decoded;
  decoded.text.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    size_t start = i;
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    decoded.text.append(bytes.begin() + static_cast<std::ptrdiff_t>(start),
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
    if (!decodeRun(bytes.substr(start, i - start), decoded.text, offset)) {
      decoded.ok = false;
      decoded.errorOffset = start + offset;
      decoded.text.clear();
      return decoded;
    }
  }
  return decoded;
}

Cp932Encoded EncodeInRuns(std::u16string_view text, RunEncoder encodeRun, size_t maxRun) {
  Cp932Encoded encoded;
  encoded.bytes.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    size_t start = i;
    while (i < text.size() && text[i] < 0x80) ++i;
    for (size_t k = start; k < i; ++k) encoded.bytes += static_cast<char>(text[k]);
    if (i == text.size()) break;
    // A lone surrogate has no code: converters would report it as a cut-off sequence or
    // quietly put a default character in its place.
    start = i;
    bool lone = false;
    while (i < text.size() && text[i] >= 0x80 && i - start < maxRun) {
      if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        i += 2;
      } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
        lone = true;
        break;
      } else {
        ++i;
      }
    }
    size_t index = 0;
    bool ok = encodeRun(text.substr(start, i - start), encoded.bytes, index);
    if (!ok || lone) {
      encoded.ok = false;
      encoded.errorIndex = ok ? i : start + index;
      encoded.bytes.clear();
      return encoded;
    }
  }
  return encoded;
}

}  // namespace qdvz::detail
