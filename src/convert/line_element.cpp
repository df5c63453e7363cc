#include <string>

#include "convert/macro_run.h"
#include "convert/text.h"

namespace qdvz {
void ConvertLineElement(RecordFields& f, MacroRun& run) {
  const std::u16string& f1 = f.F(1);
  const std::u16string& f2 = f.F(2);
  // Coordinates in record order, and the order F3, F6, F5, F4 of the 21 and 22 lines.
  auto straight = [&](std::u16string_view sep56 = u",  ") {
    return f.F(3) + u",  " + f.F(4) + u",  " + f.F(5) + std::u16string(sep56) + f.F(6);
  };
  auto reversed = [&] { return f.F(3) + u",  " + f.F(6) + u",  " + f.F(5) + u",  " + f.F(4); };
  auto inEither = [&](std::u16string_view code) { return f1 == code || f2 == code; };

  // The three reference lines of a block also fill in its scale statement and select lines.
  if (f2 == u"01" && IsOneOf(f1, {u"10", u"110"})) {
    run.Put(u"line(11, " + straight() + u",  0,  0,  0 )");
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"10" && IsOneOf(f1, {u"101", u"01"})) {
    run.Put(u"line(12, " + straight() + u",  0,  0,  0 )");
    run.ScaleFromField5 = true;
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"10" && IsOneOf(f1, {u"10", u"110"})) {
    run.Put(u"line(10, " + straight() + u",  0,  0,  0 )");
    run.SelectZero = true;
    run.WriteScaleAndSelect(f);
    return;
  }
  if (f2 == u"20" && IsOneOf(f1, {u"02", u"102"})) {
    run.Put(u"line(21, " + reversed() + u",  0,  0,  0 )");
    return;
  }
  if (f2 == u"02" && IsOneOf(f1, {u"120", u"20"})) {
    run.Put(u"line(22, " + reversed() + u",  0,  0,  0 )");
    return;
  }

  if (f.F(7).empty()) f.F(7) = u"9";
  if (f.F(8).empty()) f.F(8) = u"9";
  auto withTypes = [&](std::u16string_view tail) {
    return straight() + u",  " + f.F(7) + u",  " + f.F(8) + std::u16string(tail);
  };

  if (IsOneOf(f1, {u"3", u"03", u"04", u"4"})) {
    run.Put(kCodeComment + (u"line(10, " + straight(u",   ")) + u",  9,  9,  9 )");
  } else if (IsOneOf(f2, {u"3", u"03", u"04", u"4"})) {
    run.Put(kCodeComment + (u"line(20, " + straight()) + u",  9,  9,  9 )");
  } else if (IsOneOf(f1, {u"101", u"01"})) {
    run.Put(u"line(10, " + withTypes(u",  9 )"));
  } else if (IsOneOf(f1, {u"202", u"02"})) {
    run.Put(u"line(20, " + withTypes(u",  9 )"));
  } else if (inEither(u"08")) {
    run.Put(u"line(99, " + withTypes(u", 9 )"));
  } else if (inEither(u"00")) {
    run.Put(u"line( 0, " + withTypes(u", 9 )"));
  } else if (inEither(u"1")) {
    run.Put(u"line(10, " + straight() + u",  9,  9,  9 )");
  } else if (inEither(u"2")) {
    run.Put(u"line(20, " + straight(u",   ") + u",  9,  9,  9 )");
  } else if (inEither(u"0")) {
    run.Put(u"line(10, " + straight() + u",  9,  9,  9 )");
  } else if (inEither(u"8")) {
    run.Put(u"line(99, " + straight() + u",  9,  9,  9 )");
  }
  // Any other pair of codes has no line statement.
}

}  // namespace qdvz
