#include "convert/macro_run.h"

#include <algorithm>
#include <cstring>

#include "convert/messages.h"
#include "convert/numeric.h"

namespace qdvz {

// Statement pieces are written as u"..."sv: a view of known length, where a plain literal
// would have its length counted unit by unit each time a statement is joined.
using namespace std::string_view_literals;
namespace {

// Copies a piece of a statement, most of which are a few units long, in fixed-size moves
// rather than through a call to memcpy each.
char16_t* CopyShort(std::u16string_view piece, char16_t* out) {
  const char16_t* in = piece.data();
  size_t n = piece.size();
  for (; n >= 4; n -= 4, in += 4, out += 4) std::memcpy(out, in, 4 * sizeof(char16_t));
  if (n >= 2) {
    std::memcpy(out, in, 2 * sizeof(char16_t));
    n -= 2, in += 2, out += 2;
  }
  if (n == 1) *out++ = *in;
  return out;
}

}  // namespace

void MacroSlots::Set(int slot, std::initializer_list<std::u16string_view> pieces) {
  for (; written_ < slot; ++written_) slots_[static_cast<size_t>(written_)] = {0, 0};
  written_ = std::max(written_, slot + 1);
  // The statement is joined in place, piece by piece. The buffer's state is kept in locals
  // meanwhile: the copies could write anywhere as far as the compiler knows, and the members
  // would be read again after each.
  const size_t start = size_;
  size_t size = size_;
  size_t capacity = capacity_;
  char16_t* text = text_.get();
  for (auto piece : pieces) {
    if (size + piece.size() > capacity) {
      size_ = size;
      Grow(size + piece.size());
      capacity = capacity_;
      text = text_.get();
    }
    CopyShort(piece, text + size);
    size += piece.size();
  }
  size_ = size;
  slots_[static_cast<size_t>(slot)] = {start, size - start};
}

void MacroSlots::Grow(size_t needed) {
  size_t capacity = std::max(2 * capacity_, needed);
  auto text = std::make_unique_for_overwrite<char16_t[]>(capacity);
  std::copy_n(text_.get(), size_, text.get());
  text_ = std::move(text);
  capacity_ = capacity;
}

std::u16string MacroSlots::Document(int last) const {
  int written = std::min(last + 1, written_);
  size_t size = 2 * static_cast<size_t>(last + 1);
  for (int slot = 0; slot < written; ++slot) size += slots_[static_cast<size_t>(slot)].length;
  std::u16string document;
  document.reserve(size);
  for (int slot = 0; slot <= last; ++slot) {
    if (slot < written) {
      auto [offset, length] = slots_[static_cast<size_t>(slot)];
      document.append(text_.get() + offset, length);
    }
    // Two units in place: an append of a text would call memcpy for them.
    document.push_back(u'\r');
    document.push_back(u'\n');
  }
  return document;
}

void MacroRun::Put(std::initializer_list<std::u16string_view> pieces) {
  int slot = nextSlot;
  Advance(1);
  macroLines.Set(slot, pieces);
}

void MacroRun::Advance(int count) {
  if (nextSlot + count > kLastMacroSlot) Refuse(msg::kMacroFull);
  nextSlot += count;
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
  // The scale factor: the magnitude of the reference line's field 3 (or 5) when negative,
  // else field 5 as written; a block opened by "0" always has 12.
  std::u16string_view factorField = scaleFromField5 ? fields.F(5) : fields.F(3);
  int v = IntegerOrRefuse(ValueOf(factorField));
  std::u16string negated;
  std::u16string_view factor = fields.F(5);
  if (v < 0) {
    if (v == -32768) Refuse(msg::kIntegerOutOfRange);  // its negation has no 16-bit integer
    negated = SignedText(-v);
    factor = negated;
  }
  if (blockState == BlockState::kFixedScale) factor = u"12"sv;
  if (scaleArg4.empty()) scaleArg4 = u"0";
  if (scaleArg5.empty()) scaleArg5 = u"0";

  // The reserved slots all lie below nextSlot, so they are always inside the document.
  macroLines.Set(scaleSlot, {u"scale("sv, factor, u", 0, "sv, scaleArg3, u", "sv, scaleArg4,
                             u", "sv, scaleArg5, u")"sv});
  if (blockState == BlockState::kFixedScale) {
    macroLines.Set(scaleSlot + 1, {u"select(0 ,0)"sv});
    blockState = BlockState::kNone;
  } else {
    macroLines.Set(scaleSlot + 1, {selectZero ? u"select(0 ,0)"sv : u"select(9 ,0)"sv});
    if (blockState == BlockState::kTwoSelects) macroLines.Set(scaleSlot + 2, {u"select(9 ,0)"sv});
  }
  selectZero = false;
  scaleFromField5 = false;
  scaleArg4.clear();
  scaleArg5.clear();
  scaleArg3 = u"0";
}

std::u16string MacroRun::Document() const {
  return macroLines.Document(nextSlot);
}

}  // namespace qdvz
