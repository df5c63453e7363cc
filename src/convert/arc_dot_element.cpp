#include <cmath>
#include <string>

#include "convert/codes.h"
#include "convert/macro_run.h"
#include "convert/messages.h"
#include "convert/numeric.h"
#include "convert/text.h"

namespace qdvz {

// Statement pieces are written as u"..."sv: a view of known length, where a plain literal
// would have its length counted unit by unit each time a statement is joined.
using namespace std::string_view_literals;
namespace {

bool IsMarker(std::u16string_view field) {
  return field == u"e"sv || field == u"E"sv;
}

// Twice the second value, computed in single precision as the factor is defined.
std::u16string ArcFactor(std::u16string_view secondValue, const MacroRun& run) {
  float value = static_cast<float>(ValueOf(secondValue));
  float doubled = value * 2.0f;
  if (std::isinf(doubled)) run.Refuse(msg::kFactorOutOfRange);
  return SingleText(doubled);
}

}  // namespace

void ConvertArcElement(const RecordFields& f, MacroRun& run) {
  ArcCarry& carry = run.arc;
  // The first of F7 to F10 that is a marker decides the form and the two values; a record
  // without one keeps those of the previous arc record.
  for (int n = 7; n <= 10; ++n) {
    if (IsMarker(f.F(n))) {
      carry.form = n == 7 ? 1 : n == 8 ? 2 : 3;
      carry.markerValue = f.F(n + 1);
      carry.secondValue = f.F(n + 2);
      break;
    }
  }
  std::u16string_view magnitude = carry.markerValue;
  std::u16string factor = u"1";
  if (!magnitude.empty() && magnitude[0] == u'-') {
    magnitude.remove_prefix(1);
    factor = ArcFactor(carry.secondValue, run);
  }

  const std::u16string_view f1 = f.F(1);
  const std::u16string_view f2 = f.F(2);
  auto inEither = [&](std::u16string_view code) { return f1 == code || f2 == code; };
  bool fixedTail = false;  // codes 1, 2 and 8 always end like the third form
  if (IsOneOf(f1, codes::k03Or04)) {
    carry.head = u"# QDのｺｰﾄﾞ03,04 arc(10,"sv;
  } else if (IsOneOf(f2, codes::k03Or04)) {
    carry.head = u"# QDのｺｰﾄﾞ03,04 arc(20,"sv;
  } else if (IsOneOf(f1, {u"101"sv, u"01"sv})) {
    carry.head = u"arc(10,"sv;
  } else if (IsOneOf(f1, {u"202"sv, u"02"sv})) {
    carry.head = u"arc(20, "sv;
  } else if (f1 == u"08"sv) {
    carry.head = u"arc(99, "sv;
  } else if (inEither(u"00"sv)) {
    carry.head = u"arc(0 , "sv;
  } else if (inEither(u"1"sv)) {
    carry.head = u"arc(10, "sv;
    fixedTail = true;
  } else if (inEither(u"2"sv)) {
    carry.head = u"arc(20, "sv;
    fixedTail = true;
  } else if (f1 == u"8"sv) {
    carry.head = u"arc(99, "sv;
    fixedTail = true;
  } else if (inEither(u"0"sv)) {
    carry.head = u"arc(0, "sv;
  }
  // Codes that match no head keep the head of the previous arc record.

  // The second form writes the field in front of the marker before its two 9s.
  bool second = !fixedTail && carry.form == 2;
  std::u16string_view tail = fixedTail || carry.form == 3 ? u",  9,  9 ,  9 )"sv
                             : second                     ? u",  9,  9 )"sv
                                                          : u",  9,  9,  9 )"sv;
  run.Put({carry.head, f.F(3), u",  "sv, f.F(4), u",  "sv, magnitude, u",  "sv, f.F(5), u",  "sv,
           f.F(6), u",  "sv, factor, second ? u",  "sv : u""sv, second ? f.F(7) : u""sv, tail});
}

void ConvertDotElement(const RecordFields& f, MacroRun& run) {
  const std::u16string_view f1 = f.F(1);
  const std::u16string_view f2 = f.F(2);
  std::u16string_view head;
  if (IsOneOf(f1, codes::k03Or04)) {
    head = u"# QDのｺｰﾄﾞ03,04 dot(10, "sv;
  } else if (IsOneOf(f2, codes::k03Or04)) {
    head = u"# QDのｺｰﾄﾞ03,04 dot(20, "sv;
  } else if (IsOneOf(f1, {u"101"sv, u"01"sv, u"1"sv})) {
    head = u"dot(10, "sv;
  } else if (IsOneOf(f1, {u"202"sv, u"02"sv, u"2"sv})) {
    head = u"dot(20, "sv;
  } else if (IsOneOf(f1, {u"09"sv, u"08"sv})) {
    head = u"dot(99, "sv;
  } else if (IsOneOf(f1, {u"00"sv, u"0"sv})) {
    head = u"dot(0 , "sv;
  } else {
    return;  // no dot statement for these codes
  }
  std::u16string_view digit = f.F(7).size() >= 5 ? f.F(7).substr(4, 1) : u""sv;
  if (digit == u"0"sv) digit = u"9"sv;
  run.Put({head, f.F(3), u",  "sv, f.F(4), u",  "sv, digit, u",  9 )"sv});
}

}  // namespace qdvz
