#include <string>

#include "convert/limits.h"
#include "convert/macro_run.h"
#include "convert/messages.h"
#include "convert/numeric.h"
#include "convert/text.h"

namespace qdvz {

// Statement pieces are written as u"..."sv: a view of known length, where a plain literal
// would have its length counted unit by unit each time a statement is joined.
using namespace std::string_view_literals;
namespace {

// The digit written for the size code character of field 8; other characters pass as they are.
std::u16string_view TranslatedDigit(std::u16string_view field8) {
  size_t index = field8.size() == 3 ? 0 : 1;
  if (index >= field8.size()) return u""sv;
  char16_t c = field8[index];
  static constexpr std::u16string_view kDigits = u"123898765"sv;
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
  if (f.F(3) == f.F(5)) carry.direction = u"90"sv;
  if (f.F(4) == f.F(6)) carry.direction = u"0"sv;

  bool headByCode = true;
  if (f2 == u"00"sv) {
    carry.leadingCode = u"0 ,"sv;
  } else if (f2 == u"08"sv || f1 == u"08"sv) {
    carry.head = u"text(99, "sv;
    carry.leadingCode = {};
    headByCode = false;
  } else if (IsOneOf(f2, {u"01"sv, u"1"sv})) {
    carry.leadingCode = u"10, "sv;
  } else if (IsOneOf(f2, {u"02"sv, u"2"sv})) {
    carry.leadingCode = u"20, "sv;
  }
  if (headByCode) {
    if (IsOneOf(f1, {u"00"sv, u"01"sv, u"02"sv, u"1"sv, u"2"sv})) {
      carry.head = u"text("sv;
    } else if (IsOneOf(f1,
                       {u"20000"sv, u"20001"sv, u"20002"sv, u"21001"sv, u"22001"sv, u"22002"sv})) {
      carry.head = u"gettxt("sv;
    }
  }

  std::u16string_view kind;
  if (IsOneOf(f1, {u"1"sv, u"2"sv}) || IsOneOf(f2, {u"1"sv, u"2"sv}) || typeNumber == 10000) {
    kind = u"2"sv;
  } else {
    kind = f.F(7).substr(f.F(7).size() - 1);  // field 7 is never empty in a text record
  }

  const std::u16string_view f8 = f.F(8);
  std::u16string_view lengthFlag = f8.size() == 3 ? u"0"sv : u"1"sv;
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
           u",  "sv,
           f.F(4),
           u",  "sv,
           carry.direction,
           u",  "sv,
           TranslatedDigit(f8),
           u",  "sv,
           lengthFlag,
           u",  "sv,
           kind,
           u",  "sv,
           firstSize,
           u",  "sv,
           secondSize,
           u",  9,  \""sv,
           text,
           u"\" )"sv});
}

}  // namespace qdvz
