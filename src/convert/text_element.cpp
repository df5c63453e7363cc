#include <string>

#include "convert/limits.h"
#include "convert/macro_run.h"
#include "convert/messages.h"
#include "convert/numeric.h"
#include "convert/text.h"

namespace qdvz {
namespace {

// The digit written for the size code character of field 8; other characters pass as they are.
std::u16string_view TranslatedDigit(std::u16string_view field8) {
  size_t index = field8.size() == 3 ? 0 : 1;
  if (index >= field8.size()) return u"";
  char16_t c = field8[index];
  static constexpr std::u16string_view kDigits = u"123898765";
  if (c >= u'0' && c <= u'8') return kDigits.substr(static_cast<size_t>(c - u'0'), 1);
  return field8.substr(index, 1);
}

}  // namespace

void ConvertTextElement(const RecordFields& f, int typeNumber, MacroRun& run) {
  const std::u16string_view f1 = f.F(1);
  const std::u16string_view f2 = f.F(2);
  TextCarry& carry = run.text;

  // Head, leading code and direction keep the previous text record's values where this
  // record's codes or coordinates set none.
  if (f.F(3) == f.F(5)) carry.direction = u"90";
  if (f.F(4) == f.F(6)) carry.direction = u"0";

  bool headByCode = true;
  if (f2 == u"00") {
    carry.leadingCode = u"0 ,";
  } else if (f2 == u"08" || f1 == u"08") {
    carry.head = u"text(99, ";
    carry.leadingCode = {};
    headByCode = false;
  } else if (IsOneOf(f2, {u"01", u"1"})) {
    carry.leadingCode = u"10, ";
  } else if (IsOneOf(f2, {u"02", u"2"})) {
    carry.leadingCode = u"20, ";
  }
  if (headByCode) {
    if (IsOneOf(f1, {u"00", u"01", u"02", u"1", u"2"})) {
      carry.head = u"text(";
    } else if (IsOneOf(f1, {u"20000", u"20001", u"20002", u"21001", u"22001", u"22002"})) {
      carry.head = u"gettxt(";
    }
  }

  std::u16string_view kind;
  if (IsOneOf(f1, {u"1", u"2"}) || IsOneOf(f2, {u"1", u"2"}) || typeNumber == 10000) {
    kind = u"2";
  } else {
    kind = f.F(7).substr(f.F(7).size() - 1);  // field 7 is never empty in a text record
  }

  const std::u16string_view f8 = f.F(8);
  std::u16string_view lengthFlag = f8.size() == 3 ? u"0" : u"1";
  std::u16string_view sizeCode = f8;
  if (sizeCode.size() > 2) sizeCode.remove_prefix(sizeCode.size() - 2);
  int slot = run.IntegerOrRefuse(ValueOf(sizeCode) - 1.0);
  if (slot < 0 || slot >= kMaxSizeNumber) run.Refuse(msg::kSizeNumberOutOfRange);
  std::u16string_view firstSize = run.sizes[static_cast<size_t>(slot)];
  std::u16string_view secondSize = run.sizes[static_cast<size_t>(slot + kSecondSizeOffset)];

  // The text without its opening double quote; nothing else is removed or escaped.
  std::u16string_view text = f.F(11).empty() ? f.F(10) : f.F(11);
  if (!text.empty()) text.remove_prefix(1);

  run.Put({carry.head,
           carry.leadingCode,
           f.F(3),
           u",  ",
           f.F(4),
           u",  ",
           carry.direction,
           u",  ",
           TranslatedDigit(f8),
           u",  ",
           lengthFlag,
           u",  ",
           kind,
           u",  ",
           firstSize,
           u",  ",
           secondSize,
           u",  9,  \"",
           text,
           u"\" )"});
}

}  // namespace qdvz
