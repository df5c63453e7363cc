#include <string>

#include "convert/codes.h"
#include "convert/macro_run.h"
#include "convert/text.h"

namespace qdvz {

// Statement pieces are written as u"..."sv: a view of known length, where a plain literal
// would have its length counted unit by unit each time a statement is joined.
using namespace std::string_view_literals;

void ConvertLineElement(RecordFields& f, MacroRun& run) {
  const std::u16string_view f1 = f.F(1);
  const std::u16string_view f2 = f.F(2);
  auto inEither = [&](std::u16string_view code) { return f1 == code || f2 == code; };
  // Coordinates in record order (with the separator before F6 given), and in the order F3, F6,
  // F5, F4 of the 21 and 22 lines, each followed by the statement's tail.
  auto putStraight = [&](std::u16string_view head, std::u16string_view tail,
                         std::u16string_view sep56 = u",  "sv) {
    run.Put({head, f.F(3), u",  "sv, f.F(4), u",  "sv, f.F(5), sep56, f.F(6), tail});
  };
  auto putReversed = [&](std::u16string_view head) {
    run.Put(
        {head, f.F(3), u",  "sv, f.F(6), u",  "sv, f.F(5), u",  "sv, f.F(4), u",  0,  0,  0 )"sv});
  };

  // The three reference lines of a block also fill in its scale statement and select lines.
  if (f2 == u"01"sv && IsOneOf(f1, {u"10"sv, u"110"sv})) {
    putStraight(u"line(11, "sv, u",  0,  0,  0 )"sv);
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"10"sv && IsOneOf(f1, {u"101"sv, u"01"sv})) {
    putStraight(u"line(12, "sv, u",  0,  0,  0 )"sv);
    run.scaleFromField5 = true;
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"10"sv && IsOneOf(f1, {u"10"sv, u"110"sv})) {
    putStraight(u"line(10, "sv, u",  0,  0,  0 )"sv);
    run.selectZero = true;
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"20"sv && IsOneOf(f1, {u"02"sv, u"102"sv})) {
    putReversed(u"line(21, "sv);
    return;
  }
  if (f2 == u"02"sv && IsOneOf(f1, {u"120"sv, u"20"sv})) {
    putReversed(u"line(22, "sv);
    return;
  }

  if (f.F(7).empty()) f.F(7) = u"9"sv;
  if (f.F(8).empty()) f.F(8) = u"9"sv;
  auto putWithTypes = [&](std::u16string_view head, std::u16string_view tail) {
    run.Put({head, f.F(3), u",  "sv, f.F(4), u",  "sv, f.F(5), u",  "sv, f.F(6), u",  "sv, f.F(7),
             u",  "sv, f.F(8), tail});
  };

  if (IsOneOf(f1, codes::k03Or04)) {
    putStraight(u"# QDのｺｰﾄﾞ03,04 line(10, "sv, u",  9,  9,  9 )"sv, u",   "sv);
  } else if (IsOneOf(f2, codes::k03Or04)) {
    putStraight(u"# QDのｺｰﾄﾞ03,04 line(20, "sv, u",  9,  9,  9 )"sv);
  } else if (IsOneOf(f1, {u"101"sv, u"01"sv})) {
    putWithTypes(u"line(10, "sv, u",  9 )"sv);
  } else if (IsOneOf(f1, {u"202"sv, u"02"sv})) {
    putWithTypes(u"line(20, "sv, u",  9 )"sv);
  } else if (inEither(u"08"sv)) {
    putWithTypes(u"line(99, "sv, u", 9 )"sv);
  } else if (inEither(u"00"sv)) {
    putWithTypes(u"line( 0, "sv, u", 9 )"sv);
  } else if (inEither(u"1"sv)) {
    putStraight(u"line(10, "sv, u",  9,  9,  9 )"sv);
  } else if (inEither(u"2"sv)) {
    putStraight(u"line(20, "sv, u",  9,  9,  9 )"sv, u",   "sv);
  } else if (inEither(u"0"sv)) {
    putStraight(u"line(10, "sv, u",  9,  9,  9 )"sv);
  } else if (inEither(u"8"sv)) {
    putStraight(u"line(99, "sv, u",  9,  9,  9 )"sv);
  }
  // Any other pair of codes has no line statement.
}

}  // namespace qdvz
