#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qdvz {

// The number formed by the leading numeric part of a text: blanks, a sign, digits with an
// optional decimal point and an optional exponent (E or D). Blanks and tabs inside the
// number are passed over; a text without a leading digit is 0. Values too large for a
// double come back as infinity.
double ValueOf(std::u16string_view text);

// The nearest 16-bit signed integer, ties to the even neighbour; nothing when the number
// lies outside -32768..32767 after rounding.
std::optional<int16_t> IntegerOf(double number);

// " 20" for 20, "-5" for -5: the digits after one blank, or after "-" when negative.
std::u16string SignedText(int value);

// A single-precision number as decimal text with at most 7 significant digits, without
// trailing zeros or a trailing point, with a leading zero below 1 and no blank in front
// ("1.5", "-0.25", "6"). Values that would need more than 7 integer digits or that are
// below 0.00001 are written with an exponent ("1.234568E+08", "1E-06").
std::u16string SingleText(float number);

}  // namespace qdvz
