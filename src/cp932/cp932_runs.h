#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include "cp932/cp932.h"

// What both code page 932 converters share: ASCII is the same in both encodings and is copied
// directly; only runs outside ASCII reach the system's converter.
namespace qdvz::detail {

inline bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Decodes one run of bytes that starts outside ASCII, appending to text; false with the
// offset within the run of the first sequence that does not decode.
using RunDecoder = bool (*)(std::string_view run, std::u16string& text, size_t& errorOffset);
// Encodes one run of characters outside ASCII, free of lone surrogates, appending to bytes;
// false with the index within the run of the first character without an exact code.
using RunEncoder = bool (*)(std::u16string_view run, std::string& bytes, size_t& errorIndex);

// The failures of cp932.h for the bytes at offset and for the character at index of text.
Failure NotDecodable(size_t offset);
Failure NotEncodable(std::u16string_view text, size_t index);

// The conversions of cp932.h, run by run; runs are cut at maxRun units. The decoder appends to
// text, which a failure leaves as it was.
Result<void> DecodeInRuns(std::string_view bytes, std::u16string& text, RunDecoder decodeRun,
                          size_t maxRun = std::numeric_limits<size_t>::max());
Result<std::string> EncodeInRuns(std::u16string_view text, RunEncoder encodeRun,
                                 size_t maxRun = std::numeric_limits<size_t>::max());

// The iconv conversions done by passing every run outside ASCII to iconv whole, without
// remembering single characters: slower, and the reference that the remembered conversions
// must agree with byte for byte.
Result<std::u16string> DecodeCp932ByRuns(std::string_view bytes);
Result<std::string> EncodeCp932ByRuns(std::u16string_view text);

// iconv builds only: asks iconv for code page 932 under another name from now on, in every
// thread. A name it does not know shows what happens on a system without the converter.
void SetCp932ConverterName(const char* name);

}  // namespace qdvz::detail
