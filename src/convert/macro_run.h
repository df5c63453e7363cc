#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "convert/failure.h"
#include "convert/records.h"
#include "convert/size_table.h"

namespace qdvz {

inline constexpr int kMacroSlots = 1201;

// Thrown inside a run when the data goes beyond what the macro can hold; ConvertRecords
// returns its failure.
struct RunRefused {
  Failure failure;
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

// The slots of the macro document. Statements are kept one after another in a single text,
// each slot naming its stretch of it, so that writing a statement allocates nothing of its
// own; a rewritten slot names its new stretch.
class MacroSlots {
 public:
  MacroSlots() { text_.reserve(1 << 16); }
  void Set(int slot, std::initializer_list<std::u16string_view> pieces);
  // Every slot from 0 to last, each followed by CR LF.
  std::u16string Document(int last) const;

 private:
  std::u16string text_;
  std::array<std::pair<size_t, size_t>, kMacroSlots> slots_{};  // offset and length
};

// The macro document of one run and the state that lays it out.
struct MacroRun {
  explicit MacroRun(const SizeItems& sizeTable) : sizes(sizeTable) {}

  MacroSlots MacroLines;
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

  // Writes a statement, joined from its pieces, at NextSlot and moves on.
  void Put(std::initializer_list<std::u16string_view> pieces);
  // Moves NextSlot on by count slots, refusing when the document would outgrow its slots
  // (the last line of the document is the empty slot NextSlot itself).
  void Advance(int count);
  // Rewrites the open block's scale statement and select line(s) from the fields given.
  void WriteScaleAndSelect(const RecordFields& fields);
  // The integer of a value, refusing a value outside 16 bits.
  int16_t IntegerOrRefuse(double value) const;
  // Ends the run with a failure that names the record's line.
  [[noreturn]] void Refuse(const char16_t* message,
                           FailureKind kind = FailureKind::kBeyondMacro) const;

  // Every slot from 0 to NextSlot, each followed by CR LF.
  std::u16string Document() const;
};

void ConvertLineElement(RecordFields& fields, MacroRun& run);
void ConvertArcElement(const RecordFields& fields, MacroRun& run);
void ConvertDotElement(const RecordFields& fields, MacroRun& run);
void ConvertTextElement(const RecordFields& fields, int typeNumber, MacroRun& run);

}  // namespace qdvz
