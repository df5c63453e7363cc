#include "io/save_text.h"

#include <algorithm>
#include <cstdio>

#include "io/cp932.h"
#include "io/io_messages.h"

namespace qdvz {

std::u16string msg::CannotEncode(char32_t codePoint) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(codePoint));
  return u"Shift-JIS（コードページ932）で保存できない文字があります（U+" + FromUtf8(hex) + u"）";
}

namespace {

// The code point at index, joining a surrogate pair.
char32_t CodePointAt(std::u16string_view text, size_t index) {
  char32_t c = text[index];
  if (c >= 0xD800 && c < 0xDC00 && index + 1 < text.size() && text[index + 1] >= 0xDC00 &&
      text[index + 1] < 0xE000) {
    return 0x10000 + ((c - 0xD800) << 10) + (text[index + 1] - 0xDC00);
  }
  return c;
}

}  // namespace

EncodedText EncodeSavedText(std::u16string_view displayText) {
  Cp932Encoded encoded = EncodeCp932(displayText);
  EncodedText result;
  if (!encoded.ok) {
    auto before = displayText.begin() + static_cast<std::ptrdiff_t>(encoded.errorIndex);
    int line = 1 + static_cast<int>(std::count(displayText.begin(), before, u'\n'));
    result.error = Refusal{msg::CannotEncode(CodePointAt(displayText, encoded.errorIndex)), line};
    return result;
  }
  result.bytes = std::move(encoded.bytes);
  result.bytes += "\r\n";  // the line end that saving adds
  return result;
}

std::optional<Refusal> SaveText(const std::filesystem::path& path,
                                std::u16string_view displayText) {
  EncodedText encoded = EncodeSavedText(displayText);
  if (encoded.error) return encoded.error;
  return WriteFileAtomically(path, encoded.bytes);
}

}  // namespace qdvz
