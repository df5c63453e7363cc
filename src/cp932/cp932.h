#pragma once

#include <string>
#include <string_view>

#include "convert/failure.h"

namespace qdvz {

// Code page 932 (Windows Shift-JIS) through the system's converter. Nothing is ever
// replaced: input that the code page cannot represent is refused instead.

// Whether the system has the converter at all; without it every conversion fails as
// kNoConverter.
bool Cp932ConverterAvailable();

// Bytes that do not decode fail as kNotCp932Text, the position being the byte offset of the
// first bad sequence.
Result<std::u16string> DecodeCp932(std::string_view bytes);
// The same onto the end of text, for a text decoded piece by piece (the lines of a file joined
// for the display), which then never holds a piece twice. On failure text is as it was.
Result<void> AppendDecodedCp932(std::string_view bytes, std::u16string& text);

// A character without an exact code (none at all, or one that reads back as another
// character) fails as kUnsavable naming it, the position being its UTF-16 index.
Result<std::string> EncodeCp932(std::u16string_view text);

}  // namespace qdvz
