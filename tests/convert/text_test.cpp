// UTF-8 to UTF-16 and back, as messages, file names and the tests' own texts go through it.
#include <gtest/gtest.h>

#include <string_view>

#include "convert/text.h"

namespace qdvz {
namespace {

using namespace std::string_view_literals;

enum Way { kBoth, kFromUtf8Only, kToUtf8Only };

struct UtfCase {
  std::string_view utf8;
  std::u16string_view utf16;
  Way way = kBoth;
};

const UtfCase kUtfCases[] = {
    {"", u""},
    {"\0 A~\x7F"sv, u"\0 A~\x7F"sv},
    {"\xC2\x80", u"\u0080"},  // the first character of two bytes
    {"caf\xC3\xA9.dat", u"caf\u00E9.dat"},
    {"\xDF\xBF", u"\u07FF"},
    {"\xE0\xA0\x80", u"\u0800"},  // the first of three bytes
    {"線記号", u"線記号"},
    {"\xED\x9F\xBF\xEE\x80\x80", u"\uD7FF\uE000"},  // either side of the surrogates
    {"\xEF\xBF\xBF", u"\uFFFF"},
    {"\xF0\x90\x80\x80", u"\U00010000"},    // the first of four bytes
    {"\xF0\x9F\x98\x80x", u"\U0001F600x"},  // text that starts with a surrogate pair
    {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    // Malformed UTF-8: one U+FFFD for each sequence, what follows it read anew.
    {"\x80\xBF", u"\uFFFD\uFFFD", kFromUtf8Only},  // continuation bytes without a lead
    {"\xC3\xA9\x80", u"\u00E9\uFFFD", kFromUtf8Only},
    {"a\xC3", u"a\uFFFD", kFromUtf8Only},  // cut off at the end
    {"\xE7\xB7", u"\uFFFD", kFromUtf8Only},
    {"\xF0\x9F\x98", u"\uFFFD", kFromUtf8Only},
    {"\xC3\xA9"sv.substr(0, 1), u"\uFFFD", kFromUtf8Only},       // cut off by the end of a view
    {"\xC3\x41\xE7\xB7\x42", u"\uFFFDA\uFFFDB", kFromUtf8Only},  // cut off by a character
    {"\xC0\xAF\xE0\x9F\xBF\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD", kFromUtf8Only},  // overlong
    {"\xED\xA0\x80\xED\xBF\xBF", u"\uFFFD\uFFFD", kFromUtf8Only},                    // surrogates
    {"\xF4\x90\x80\x80", u"\uFFFD", kFromUtf8Only},  // beyond U+10FFFF
    {"\xF8\xFF", u"\uFFFD\uFFFD", kFromUtf8Only},    // no lead byte
    // A surrogate without its partner has no UTF-8 form.
    {"\xEF\xBF\xBD", u"\xD800", kToUtf8Only},
    {"\xEF\xBF\xBD", u"\xD800\xDC00"sv.substr(0, 1), kToUtf8Only},
    {"\xEF\xBF\xBDx", u"\xDBFFx", kToUtf8Only},
    {"\xEF\xBF\xBD\xEE\x80\x80", u"\xDBFF\uE000", kToUtf8Only},
    {"\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDFFF\xD800", kToUtf8Only},
    {"\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDC00\xDC00", kToUtf8Only},
    {"\xF0\x90\x8F\xBF\xF4\x8F\xB0\x80", u"\xD800\xDFFF\xDBFF\xDC00", kToUtf8Only},
};

TEST(Utf, EachCaseReadsAndWritesAsListed) {
  for (const UtfCase& c : kUtfCases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.utf8)));
    if (c.way != kToUtf8Only) {
      EXPECT_EQ(FromUtf8(c.utf8), c.utf16);
    }
    if (c.way != kFromUtf8Only) {
      EXPECT_EQ(ToUtf8(c.utf16), c.utf8);
    }
  }
}

}  // namespace
}  // namespace qdvz
