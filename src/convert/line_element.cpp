#include <string>

#include "convert/macro_run.h"
#include "convert/text.h"

namespace qdvz {

void ConvertLineElement(RecordFields& f, MacroRun& run) {
  const std::u16string_view f1 = f.F(1);
  const std::u16string_view f2 = f.F(2);
  auto inEither = [&](std::u16string_view code) { return f1 == code || f2 == code; };
  // Coordinates in record order (with the separator before F6 given), and in the order F3, F6,
  // F5, F4 of the 21 and 22 lines, each followed by the statement's tail.
  auto straight = [&](std::u16string_view head, std::u16string_view tail,
                      std::u16string_view sep56 = u",  ") {
    return Join({head, f.F(3), u",  ", f.F(4), u",  ", f.F(5), sep56, f.F(6), tail});
  };
  auto reversed = [&](std::u16string_view head) {
    return Join({head, f.F(3), u",  ", f.F(6), u",  ", f.F(5), u",  ", f.F(4), u",  0,  0,  0 )"});
  };

  // The three reference lines of a block also fill in its scale statement and select lines.
  if (f2 == u"01" && IsOneOf(f1, {u"10", u"110"})) {
    run.Put(straight(u"line(11, ", u",  0,  0,  0 )"));
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"10" && IsOneOf(f1, {u"101", u"01"})) {
    run.Put(straight(u"line(12, ", u",  0,  0,  0 )"));
    run.ScaleFromField5 = true;
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"10" && IsOneOf(f1, {u"10", u"110"})) {
    run.Put(straight(u"line(10, ", u",  0,  0,  0 )"));
    run.SelectZero = true;
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"20" && IsOneOf(f1, {u"02", u"102"})) {
    run.Put(reversed(u"line(21, "));
    return;
  }
  if (f2 == u"02" && IsOneOf(f1, {u"120", u"20"})) {
    run.Put(reversed(u"line(22, "));
    return;
  }

  if (f.F(7).empty()) f.F(7) = u"9";
  if (f.F(8).empty()) f.F(8) = u"9";
  auto withTypes = [&](std::u16string_view head, std::u16string_view tail) {
    return Join({head, f.F(3), u",  ", f.F(4), u",  ", f.F(5), u",  ", f.F(6), u",  ", f.F(7),
                 u",  ", f.F(8), tail});
  };

  if (IsOneOf(f1, {u"3", u"03", u"04", u"4"})) {
    run.Put(straight(u"# QDのｺｰﾄﾞ03,04 line(10, ", u",  9,  9,  9 )", u",   "));
  } else if (IsOneOf(f2, {u"3", u"03", u"04", u"4"})) {
    run.Put(straight(u"# QDのｺｰﾄﾞ03,04 line(20, ", u",  9,  9,  9 )"));
  } else if (IsOneOf(f1, {u"101", u"01"})) {
    run.Put(withTypes(u"line(10, ", u",  9 )"));
  } else if (IsOneOf(f1, {u"202", u"02"})) {
    run.Put(withTypes(u"line(20, ", u",  9 )"));
  } else if (inEither(u"08")) {
    run.Put(withTypes(u"line(99, ", u", 9 )"));
  } else if (inEither(u"00")) {
    run.Put(withTypes(u"line( 0, ", u", 9 )"));
  } else if (inEither(u"1")) {
    run.Put(straight(u"line(10, ", u",  9,  9,  9 )"));
  } else if (inEither(u"2")) {
    run.Put(straight(u"line(20, ", u",  9,  9,  9 )", u",   "));
  } else if (inEither(u"0")) {
    run.Put(straight(u"line(10, ", u",  9,  9,  9 )"));
  } else if (inEither(u"8")) {
    run.Put(straight(u"line(99, ", u",  9,  9,  9 )"));
  }
  // Any other pair of codes has no line statement.
}

}  // namespace qdvz
