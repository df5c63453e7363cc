#pragma once

#include <string>
#include <string_view>

// Status texts of the code page 932 conversions.
namespace qdvz::msg {

// The system lacks the converter: nothing can be read or saved.
inline constexpr char16_t kNoCp932Converter[] =
    u"このシステムにはShift-JIS（コードページ932）の変換機能がありません（iconv の CP932）";

// Bytes that do not decode.
inline constexpr char16_t kNotCp932[] = u"Shift-JIS（コードページ932）として読めない文字があります";

// "Shift-JIS（コードページ932）で保存できない文字があります（U+XXXX）"
inline std::u16string CannotEncode(std::u16string_view hexCodePoint) {
  return u"Shift-JIS（コードページ932）で保存できない文字があります（U+" +
         std::u16string(hexCodePoint) + u"）";
}

}  // namespace qdvz::msg
