#include <string>

#include "convert/codes.h"
#include "convert/macro_run.h"
#include "convert/text.h"

namespace qdvz {

void ConvertLineElement(RecordFields& f, MacroRun& run) {
  const std::u16string_view f1 = f.F(1);
  const std::u16string_view f2 = f.F(2);
  auto inEither = [&](std::u16string_view code) { return f1 == code || f2 == code; };
  // Coordinates in record order (with the separator before F6 given), and in the order F3, F6,
  // F5, F4 of the 21 and 22 lines, each followed by the statement's tail.
  auto putStraight = [&](std::u16string_view head, std::u16string_view tail,
                         std::u16string_view sep56 = u",  ") {
    run.Put({head, f.F(3), u",  ", f.F(4), u",  ", f.F(5), sep56, f.F(6), tail});
  };
  auto putReversed = [&](std::u16string_view head) {
    run.Put({head, f.F(3), u",  ", f.F(6), u",  ", f.F(5), u",  ", f.F(4), u",  0,  0,  0 )"});
  };

  // The three reference lines of a block also fill in its scale statement and select lines.
  if (f2 == u"01" && IsOneOf(f1, {u"10", u"110"})) {
    putStraight(u"line(11, ", u",  0,  0,  0 )");
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"10" && IsOneOf(f1, {u"101", u"01"})) {
    putStraight(u"line(12, ", u",  0,  0,  0 )");
    run.scaleFromField5 = true;
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"10" && IsOneOf(f1, {u"10", u"110"})) {
    putStraight(u"line(10, ", u",  0,  0,  0 )");
    run.selectZero = true;
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"20" && IsOneOf(f1, {u"02", u"102"})) {
    putReversed(u"line(21, ");
    return;
  }
  if (f2 == u"02" && IsOneOf(f1, {u"120", u"20"})) {
    putReversed(u"line(22, ");
    return;
  }

  if (f.F(7).empty()) f.F(7) = u"9";
  if (f.F(8).empty()) f.F(8) = u"9";
  auto putWithTypes = [&](std::u16string_view head, std::u16string_view tail) {
    run.Put({head, f.F(3), u",  ", f.F(4), u",  ", f.F(5), u",  ", f.F(6), u",  ", f.F(7), u",  ",
             f.F(8), tail});
  };

  if (IsOneOf(f1, codes::k03Or04)) {
    putStraight(u"# QDのｺｰﾄﾞ03,04 line(10, ", u",  9,  9,  9 )", u",   ");
  } else if (IsOneOf(f2, codes::k03Or04)) {
    putStraight(u"# QDのｺｰﾄﾞ03,04 line(20, ", u",  9,  9,  9 )");
  } else if (IsOneOf(f1, {u"101", u"01"})) {
    putWithTypes(u"line(10, ", u",  9 )");
  } else if (IsOneOf(f1, {u"202", u"02"})) {
    putWithTypes(u"line(20, ", u",  9 )");
  } else if (inEither(u"08")) {
    putWithTypes(u"line(99, ", u", 9 )");
  } else if (inEither(u"00")) {
    putWithTypes(u"line( 0, ", u", 9 )");
  } else if (inEither(u"1")) {
    putStraight(u"line(10, ", u",  9,  9,  9 )");
  } else if (inEither(u"2")) {
    putStraight(u"line(20, ", u",  9,  9,  9 )", u",   ");
  } else if (inEither(u"0")) {
    putStraight(u"line(10, ", u",  9,  9,  9 )");
  } else if (inEither(u"8")) {
    putStraight(u"line(99, ", u",  9,  9,  9 )");
  }
  // Any other pair of codes has no line statement.
}

}  // namespace qdvz
