#include "convert/macro_run.h"

#include "convert/messages.h"
#include "convert/numeric.h"

namespace qdvz {

void MacroSlots::Set(int slot, std::initializer_list<std::u16string_view> pieces) {
  size_t start = text_.size();
  for (auto piece : pieces) text_ += piece;
  slots_[static_cast<size_t>(slot)] = {start, text_.size() - start};
}

std::u16string MacroSlots::Document(int last) const {
  size_t size = 0;
  for (int slot = 0; slot <= last; ++slot) size += slots_[static_cast<size_t>(slot)].second + 2;
  std::u16string document;
  document.reserve(size);
  for (int slot = 0; slot <= last; ++slot) {
    auto [offset, length] = slots_[static_cast<size_t>(slot)];
    document.append(text_, offset, length);
    document += u"\r\n";
  }
  return document;
}

void MacroRun::Put(std::initializer_list<std::u16string_view> pieces) {
  int slot = NextSlot;
  Advance(1);
  MacroLines.Set(slot, pieces);
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

void MacroRun::Refuse(const char16_t* message, FailureKind kind) const {
  throw RunRefused{Failure{kind, message, currentLine}};
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
  MacroLines.Set(ScaleSlot, {u"scale(", ScaleArg1, u", 0, ", ScaleArg3, u", ", ScaleArg4, u", ",
                             ScaleArg5, u")"});
  if (BlockState == 1) {
    MacroLines.Set(ScaleSlot + 1, {u"select(0 ,0)"});
    BlockState = 0;
  } else {
    MacroLines.Set(ScaleSlot + 1, {SelectZero ? u"select(0 ,0)" : u"select(9 ,0)"});
    if (BlockState == 3) MacroLines.Set(ScaleSlot + 2, {u"select(9 ,0)"});
  }
  SelectZero = false;
  ScaleFromField5 = false;
  ScaleArg4.clear();
  ScaleArg5.clear();
  ScaleArg3 = u"0";
}

std::u16string MacroRun::Document() const {
  return MacroLines.Document(NextSlot);
}

}  // namespace qdvz
