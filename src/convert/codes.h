#pragma once

#include <array>
#include <string_view>

// The lists of record codes (fields 1 and 2) that more than one element converter tells apart.
// Codes are compared as whole texts: "1", "01" and "101" differ.
namespace qdvz::codes {

using CodeList = std::array<std::u16string_view, 4>;

// Codes 03 and 04: the statement is written as a comment ("# QDのｺｰﾄﾞ03,04 ...").
inline constexpr CodeList k03Or04 = {u"04", u"03", u"3", u"4"};

}  // namespace qdvz::codes
