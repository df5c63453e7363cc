#include "convert/macro_run.h"

#include <span>

#include "convert/messages.h"
#include "convert/numeric.h"
#include "convert/text.h"

namespace qdvz {

void MacroRun::Put(std::u16string statement) {
  int slot = NextSlot;
  Advance(1);
  MacroLines[static_cast<size_t>(slot)] = std::move(statement);
}

void MacroRun::Advance(int count) {
  if (NextSlot + count > kMacroSlots - 1) Refuse(msg::kMacroFull);
  NextSlot += count;
}

int16_t MacroRun::IntegerOrRefuse(double value) const {
  auto integer = IntegerOf(value);
  if (!integer) Refuse(msg::kIntegerOutOfRange);
  return *integer;
}

void MacroRun::Refuse(const char16_t* message) const {
  throw RunRefused{Refusal{message, currentLine}};
}

void MacroRun::WriteScaleAndSelect(const RecordFields& fields) {
  int v = IntegerOrRefuse(ValueOf(ScaleFromField5 ? fields.F(5) : fields.F(3)));
  if (v < 0) {
    if (v == -32768) Refuse(msg::kIntegerOutOfRange);  // its negation has no 16-bit integer
    ScaleArg1 = SignedText(-v);
  } else {
    ScaleArg1 = fields.F(5);
  }
  if (BlockState == 1) ScaleArg1 = u"12";
  if (ScaleArg4.empty()) ScaleArg4 = u"0";
  if (ScaleArg5.empty()) ScaleArg5 = u"0";

  // The reserved slots all lie below NextSlot, so they are always inside the document.
  auto slot = [&](int offset) -> std::u16string& {
    return MacroLines[static_cast<size_t>(ScaleSlot + offset)];
  };
  slot(0) =
      u"scale(" + ScaleArg1 + u", 0, " + ScaleArg3 + u", " + ScaleArg4 + u", " + ScaleArg5 + u")";
  if (BlockState == 1) {
    slot(1) = u"select(0 ,0)";
    BlockState = 0;
  } else {
    slot(1) = SelectZero ? u"select(0 ,0)" : u"select(9 ,0)";
    if (BlockState == 3) slot(2) = u"select(9 ,0)";
  }
  SelectZero = false;
  ScaleFromField5 = false;
  ScaleArg4.clear();
  ScaleArg5.clear();
  ScaleArg3 = u"0";
}

std::u16string MacroRun::Document() const {
  return JoinWithCrLf(std::span(MacroLines).first(static_cast<size_t>(NextSlot) + 1));
}

}  // namespace qdvz
