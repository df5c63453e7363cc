#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "convert/records.h"
#include "convert/refusal.h"
#include "convert/size_table.h"

namespace qdvz {

inline constexpr int kMacroSlots = 1201;

// Thrown inside a run when the data goes beyond what the macro can hold; ConvertRecords
// turns it into a refusal.
struct RunRefused {
  Refusal refusal;
};

// What an arc record leaves for the next one that has no marker or no head of its own.
struct ArcCarry {
  int form = 3;
  std::u16string markerValue;
  std::u16string secondValue;
  std::u16string head;
};

// What a text record leaves for the next one whose codes or coordinates set no value.
struct TextCarry {
  std::u16string head;
  std::u16string leadingCode;
  std::u16string direction;
};

// The macro document of one run and the state that lays it out.
struct MacroRun {
  explicit MacroRun(const SizeItems& sizeTable) : sizes(sizeTable) {}

  std::vector<std::u16string> MacroLines = std::vector<std::u16string>(kMacroSlots);
  int NextSlot = 3;
  int ScaleSlot = 0;
  int BlockState = 0;
  bool ZeroSeen = false;
  std::u16string ScaleArg1;
  std::u16string ScaleArg3 = u"0";
  std::u16string ScaleArg4;
  std::u16string ScaleArg5;
  bool SelectZero = false;
  bool ScaleFromField5 = false;
  ArcCarry arc;
  TextCarry text;
  const SizeItems& sizes;
  int currentLine = 0;  // the source line of the record being converted

  // Writes a statement at NextSlot and moves on.
  void Put(std::u16string statement);
  // Moves NextSlot on by count slots, refusing when the document would outgrow its slots
  // (the last line of the document is the empty slot NextSlot itself).
  void Advance(int count);
  // Rewrites the open block's scale statement and select line(s) from the fields given.
  void WriteScaleAndSelect(const RecordFields& fields);
  // The integer of a value, refusing a value outside 16 bits.
  int16_t IntegerOrRefuse(double value) const;
  [[noreturn]] void Refuse(const char16_t* message) const;

  // Every slot from 0 to NextSlot, each followed by CR LF.
  std::u16string Document() const;
};

void ConvertLineElement(RecordFields& fields, MacroRun& run);
void ConvertArcElement(const RecordFields& fields, MacroRun& run);
void ConvertDotElement(const RecordFields& fields, MacroRun& run);
void ConvertTextElement(const RecordFields& fields, int typeNumber, MacroRun& run);

}  // namespace qdvz
