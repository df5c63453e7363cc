#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "convert/failure.h"
#include "convert/limits.h"
#include "convert/records.h"
#include "convert/size_table.h"

namespace qdvz {

// Thrown inside a run when the data goes beyond what the macro can hold; ConvertRecords
// returns its failure.
struct RunRefused {
  Failure failure;
};

// Which header opened the block being written. A block begins with a "0", "1" or "2" record
// (once a record with a zero coordinate was seen), which reserves its begin line, its scale
// statement and its select line(s); its reference lines fill them in.
enum class BlockState {
  kNone,        // no block open: the next header opens one
  kFixedScale,  // opened by "0": scale 12 and select(0 ,0), written by its first reference
                // line, which closes the block again; its "99" end lets the conversion go on
  kOneSelect,   // opened by "1": one select line
  kTwoSelects,  // opened by "2": a second select line, always select(9 ,0)
};

// What an arc record leaves for the next one that has no marker or no head of its own. The
// texts are views: of constant heads, or of the fields of the data lines, which outlive the run.
struct ArcCarry {
  int form = 3;
  std::u16string_view markerValue;
  std::u16string_view secondValue;
  std::u16string_view head;
};

// What a text record leaves for the next one whose codes or coordinates set no value; views
// of constant texts.
struct TextCarry {
  std::u16string_view head;
  std::u16string_view leadingCode;
  std::u16string_view direction;
};

// The slots of the macro document. Statements are kept one after another in a single text,
// each slot naming its stretch of it, so that writing a statement allocates nothing of its
// own; a rewritten slot names its new stretch. A run uses few of the slots: only those up to
// the highest one written are ever cleared, the rest read as empty.
class MacroSlots {
 public:
  MacroSlots() : text_(std::make_unique_for_overwrite<char16_t[]>(capacity_)) {}
  void Set(int slot, std::initializer_list<std::u16string_view> pieces);
  // Every slot from 0 to last, each followed by CR LF.
  std::u16string Document(int last) const;

 private:
  // Makes room for at least needed units, keeping the text written so far.
  void Grow(size_t needed);

  // The statements' text: size_ units used of capacity_, never filled with anything first.
  size_t capacity_ = size_t{1} << 16;
  size_t size_ = 0;
  std::unique_ptr<char16_t[]> text_;
  // Where each slot's statement lies in text_. Left uninitialised (unlike std::pair, whose
  // constructor would zero every slot of every run): only slots below written_ are read.
  struct Stretch {
    size_t offset;
    size_t length;
  };
  std::array<Stretch, kMacroSlots> slots_;
  int written_ = 0;  // slots from here on were never written (and are not cleared)
};

// The macro document of one run and the state that lays it out. A block's scale statement is
// "scale(a1, 0, a3, a4, a5)": a1 is worked out from the reference line that writes it; a3 to
// a5 are gathered from the records before it, and start again after it.
struct MacroRun {
  explicit MacroRun(const SizeItems& sizeTable) : sizes(sizeTable) {}

  MacroSlots macroLines;  // the document's statements, slot by slot
  int nextSlot = 3;       // the slot of the next statement (slots 0 to 2: the head)
  int scaleSlot = 0;      // the open block's scale statement; its select line(s) follow
  BlockState blockState = BlockState::kNone;  // which header opened the open block, if any
  bool zeroSeen = false;            // a record had a zero coordinate (field 3 or 4): from then
                                    // on a header opens a block
  std::u16string scaleArg3 = u"0";  // scale's third argument: "1" once an "800" record came
  std::u16string scaleArg4;         // scale's fourth argument: from a "500" record's field 2
  std::u16string scaleArg5;         // scale's fifth argument: from a "500" record's field 3
  bool selectZero = false;          // the reference line asks for select(0 ,0), not select(9 ,0)
  bool scaleFromField5 = false;     // the reference line's scale factor is its field 5, not 3
  ArcCarry arc;                     // what the last arc record leaves for the next
  TextCarry text;                   // what the last text record leaves for the next
  const SizeItems& sizes;           // the character-size table
  int currentLine = 0;              // the source line of the record being converted

  // Writes a statement, joined from its pieces, at nextSlot and moves on.
  void Put(std::initializer_list<std::u16string_view> pieces);
  // Moves nextSlot on by count slots, refusing when the document would outgrow its slots
  // (the last line of the document is the empty slot nextSlot itself).
  void Advance(int count);
  // Rewrites the open block's scale statement and select line(s) from the fields given.
  void WriteScaleAndSelect(const RecordFields& fields);
  // The integer of a value, refusing a value outside 16 bits.
  int16_t IntegerOrRefuse(double value) const;
  // Ends the run with a failure that names the record's line.
  [[noreturn]] void Refuse(const char16_t* message,
                           FailureKind kind = FailureKind::kBeyondMacro) const;

  // Every slot from 0 to nextSlot, each followed by CR LF.
  std::u16string Document() const;
};

void ConvertLineElement(RecordFields& fields, MacroRun& run);
void ConvertArcElement(const RecordFields& fields, MacroRun& run);
void ConvertDotElement(const RecordFields& fields, MacroRun& run);
void ConvertTextElement(const RecordFields& fields, int typeNumber, MacroRun& run);

}  // namespace qdvz
