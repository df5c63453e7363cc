#include "convert/numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

namespace qdvz {
namespace {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
bool IsPassedOver(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n';
}

// ValueOf for every form of number: blanks, exponents, long digit strings. Kept out of line,
// so that the common short numbers do not pay for setting up its buffers.
[[gnu::noinline]] double ValueOfAnyForm(std::u16string_view text) {
  // Gather the numeric part as plain ASCII with the blanks taken out, then let from_chars
  // (which ignores the locale) read it. Most fields are short: their characters go to a
  // buffer on the stack, and only a longer number moves to the heap.
  char buffer[64];
  std::string longNumber;
  size_t length = 0;
  auto keep = [&](char c) {
    if (length < sizeof buffer - 24) {
      buffer[length++] = c;
    } else {
      if (longNumber.empty()) longNumber.assign(buffer, length);
      longNumber += c;
    }
  };
  const size_t size = text.size();
  size_t i = 0;
  while (i < size && IsPassedOver(text[i])) ++i;
  bool negative = false;
  if (i < size && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  // The power of ten just above the first significant digit: 3 for "120.5", -2 for "0.007".
  int magnitude = 0;
  bool significant = false;
  bool anyDigit = false;
  bool point = false;
  for (; i < size; ++i) {
    char16_t c = text[i];
    if (IsDigit(c)) {
      anyDigit = true;
      significant = significant || c != u'0';
      if (!point && significant) ++magnitude;
      if (point && !significant) --magnitude;
      keep(static_cast<char>(c));
    } else if (c == u'.' && !point) {
      keep('.');
      point = true;
    } else if (!IsPassedOver(c)) {
      break;
    }
  }
  if (!anyDigit) return 0.0;

  long exponent = 0;
  if (i < size && (text[i] == u'E' || text[i] == u'e' || text[i] == u'D' || text[i] == u'd')) {
    size_t j = i + 1;
    while (j < size && IsPassedOver(text[j])) ++j;
    bool negativeExponent = false;
    if (j < size && (text[j] == u'+' || text[j] == u'-')) {
      negativeExponent = text[j] == u'-';
      ++j;
    }
    for (; j < size; ++j) {
      if (IsDigit(text[j])) {
        if (exponent < 100000) exponent = exponent * 10 + (text[j] - u'0');
      } else if (!IsPassedOver(text[j])) {
        break;
      }
    }
    if (negativeExponent) exponent = -exponent;
  }

  double value = 0.0;
  if (!point && exponent == 0 && length <= 15) {
    // Most fields are short integers: below 2^53 every one of them is a double exactly,
    // so adding up the digits gives what from_chars would.
    uint64_t digits = 0;
    for (size_t k = 0; k < length; ++k) {
      digits = digits * 10 + static_cast<uint64_t>(buffer[k] - '0');
    }
    value = static_cast<double>(digits);
    return negative ? -value : value;
  }
  if (exponent != 0) {
    char exponentText[24] = {'e'};
    auto [end, ignored] =
        std::to_chars(exponentText + 1, exponentText + sizeof exponentText, exponent);
    (void)ignored;
    for (const char* c = exponentText; c < end; ++c) keep(*c);
  }
  const char* first = longNumber.empty() ? buffer : longNumber.data();
  const char* last = longNumber.empty() ? buffer + length : longNumber.data() + longNumber.size();
  auto [end, error] = std::from_chars(first, last, value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Too large or too small for a double: which one follows from the decimal exponent.
    value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

double ValueOf(std::u16string_view text) {
  if (text.empty()) return 0.0;  // many fields are missing
  // Most fields are a sign, a few digits and perhaps a decimal point after one, and nothing
  // else: read those directly. With at most 15 characters after the sign there are at most 15
  // digits, exact as an integer (below 2^53), and so is the power of ten they are divided by:
  // the one rounding of the division gives the nearest double, as from_chars does.
  {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const size_t size = text.size();
    size_t k = text[0] == u'-' || text[0] == u'+' ? 1 : 0;
    if (size - k <= 15) {
      const size_t first = k;
      int64_t digits = 0;
      for (; k < size && IsDigit(text[k]); ++k) digits = digits * 10 + (text[k] - u'0');
      size_t fraction = 0;
      if (k > first && k < size && text[k] == u'.') {
        const size_t point = ++k;
        for (; k < size && IsDigit(text[k]); ++k) digits = digits * 10 + (text[k] - u'0');
        fraction = k - point;
      }
      if (k == size && k > first) {
        double value = static_cast<double>(digits);
        if (fraction > 0) value /= kPowersOfTen[fraction];
        return text[0] == u'-' ? -value : value;
      }
    }
  }
  return ValueOfAnyForm(text);
}

std::optional<int16_t> IntegerOf(double number) {
  if (!std::isfinite(number)) return std::nullopt;
  // nearbyint rounds halves to the even neighbour in the default rounding mode.
  double rounded = std::nearbyint(number);
  if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
  return static_cast<int16_t>(rounded);
}

std::u16string SignedText(int value) {
  std::string digits = std::to_string(value < 0 ? -static_cast<long>(value) : value);
  std::u16string text(1, value < 0 ? u'-' : u' ');
  text.append(digits.begin(), digits.end());
  return text;
}

namespace {

// SingleText's common case, without formatting through to_chars: a number from 0.00001 up to
// 9999999 written without an exponent. Scaled by the power of ten that gives it 7 integer
// digits, a float is exact in double precision (24 bits times 5^11 at most fit in 53), so the
// digits round exactly. An exact tie or a number that rounds up to a further digit is left to
// the general path, whose rounding is the reference.
std::optional<std::u16string> PlainSingleText(float number) {
  static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4,  1e5,
                                            1e6, 1e7, 1e8, 1e9, 1e10, 1e11};
  const double magnitude = std::fabs(static_cast<double>(number));
  if (magnitude >= 1e7 || magnitude < 1e-5) return std::nullopt;
  // The power that brings the number to [1e6, 1e7): its digits after the point.
  int scale = 0;
  double scaled = magnitude;
  while (scaled < 1e6) scaled = magnitude * kPowersOfTen[++scale];
  const double whole = std::floor(scaled);
  const double rest = scaled - whole;
  if (rest == 0.5) return std::nullopt;
  const auto rounded = static_cast<uint32_t>(whole) + (rest > 0.5 ? 1 : 0);
  if (rounded >= 10000000) return std::nullopt;

  char digits[7];
  uint32_t left = rounded;
  for (int k = 6; k >= 0; --k) {
    digits[k] = static_cast<char>('0' + left % 10);
    left /= 10;
  }
  // With scale > 6 the number is below 1: "0." and the zeros before its first digit.
  const int integerDigits = 7 - scale;
  int last = 7;  // one past the last digit written: trailing zeros after the point go
  while (last > std::max(integerDigits, 1) && digits[last - 1] == '0') --last;
  std::u16string text;
  text.reserve(16);
  if (number < 0) text += u'-';
  if (integerDigits <= 0) {
    text += u"0.";
    text.append(static_cast<size_t>(-integerDigits), u'0');
    while (last > 0 && digits[last - 1] == '0') --last;
    for (int k = 0; k < last; ++k) text += static_cast<char16_t>(digits[k]);
    return text;
  }
  for (int k = 0; k < last; ++k) {
    if (k == integerDigits) text += u'.';
    text += static_cast<char16_t>(digits[k]);
  }
  return text;
}

}  // namespace

std::u16string SingleText(float number) {
  if (number == 0.0f || !std::isfinite(number)) return u"0";
  if (std::optional<std::u16string> plain = PlainSingleText(number)) return std::move(*plain);
  // Seven significant digits, correctly rounded: d.dddddde±xx.
  char buffer[32];
  auto [end, ignored] =
      std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific, 6);
  (void)ignored;
  std::string formatted(buffer, end);
  bool negative = formatted[0] == '-';
  if (negative) formatted.erase(0, 1);
  size_t ePos = formatted.find('e');
  int exponent = std::stoi(formatted.substr(ePos + 1));
  std::string digits = formatted.substr(0, 1) + formatted.substr(2, ePos - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string text;
  if (exponent >= -5 && exponent <= 6) {
    if (exponent >= 0) {
      size_t integerLength = static_cast<size_t>(exponent) + 1;
      if (digits.size() <= integerLength) {
        text = digits + std::string(integerLength - digits.size(), '0');
      } else {
        text = digits.substr(0, integerLength) + "." + digits.substr(integerLength);
      }
    } else {
      text = "0.";
      text.append(static_cast<size_t>(-exponent - 1), '0');
      text += digits;
    }
  } else {
    text = digits.substr(0, 1);
    if (digits.size() > 1) {
      text += '.';
      text.append(digits, 1);
    }
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+',
                  exponent < 0 ? -exponent : exponent);
    text += exponentText;
  }
  if (negative) text.insert(0, 1, '-');
  return std::u16string(text.begin(), text.end());
}

}  // namespace qdvz
