// Code page 932 against the system's converter: known codes both ways, the first fault's
// position, the characters that have a code only one way, and every sequence round trip.
#include "cp932/cp932.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "convert/text.h"
#include "cp932/cp932_runs.h"
#include "support/text.h"

namespace qdvz {
namespace {

constexpr size_t kOk = SIZE_MAX;

TEST(Cp932, DecodesKnownCodesAndFindsTheFirstInvalidSequence) {
  struct Row {
    std::string bytes;
    std::u16string text;  // when they decode
    size_t badAt = kOk;   // the offset of the first sequence that does not
  };
  const Row rows[] = {
      {"", u""},
      {"\x5C\x7E", u"\\~"},  // a backslash and a tilde, not a yen sign and an overline
      {std::string("\0\x1A\x1C\x7F", 4), std::u16string(u"\0\u001A\u001C\u007F", 4)},
      {"\x81\x5F\x81\x60", u"\uFF3C\uFF5E"},
      {"\x82\xA0\xB1\x87\x40\xFA\x40", u"あｱ①ⅰ"},
      {"A\x83\x5C\x5C"
       "B\x95\x5C",
       u"Aソ\\B表"},  // trail bytes in the ASCII range are no ASCII
      {"\xA0", {}, 0},
      {"xyz\xFD", {}, 3},
      {"\xFE", {}, 0},
      {"\x82\xA0\xFF", {}, 2},
      {"abc\x82", {}, 3},  // a lead byte cut off at the end
      {test::Repeat("\x82\xA0", 3000) + "\x82", {}, 6000},
      {"\x82\x0A", {}, 0},  // a lead byte without a valid trail byte
      {"\x81\x7F", {}, 0},
      {"ok\xFF\x82", {}, 2},  // only the first fault counts
#ifndef _WIN32
      {"ab\x80", {}, 2},  // glibc has no code 0x80
#else
      {"a\x80", u"a\u0080"},  // Windows reads it as U+0080, and writes it back (below)
#endif
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.bytes));
    Result<std::u16string> decoded = DecodeCp932(row.bytes);
    // Decoded onto a text that holds something already: the position is still within the
    // bytes, and a failure leaves the text as it was.
    std::u16string text = u"前";
    Result<void> appended = AppendDecodedCp932(row.bytes, text);
    if (row.badAt == kOk) {
      ASSERT_TRUE(decoded);
      EXPECT_EQ(*decoded, row.text);
      ASSERT_TRUE(appended);
      EXPECT_EQ(text, u"前" + row.text);
    } else {
      ASSERT_FALSE(decoded);
      EXPECT_EQ(decoded.failure().position, row.badAt);
      ASSERT_FALSE(appended);
      EXPECT_EQ(appended.failure(), decoded.failure());
      EXPECT_EQ(text, u"前");
    }
  }
}

// Encoding refuses a character without an exact code, naming it: one that has no code, a lone
// surrogate, or one whose code reads back as another character.
TEST(Cp932, EncodesKnownCharactersAndNamesTheFirstWithoutCode) {
  struct Row {
    std::u16string text;
    std::string bytes;            // encoded
    size_t badAt = kOk;           // else the character refused: its index,
    const char16_t* named = u"";  // and how it is named
  };
  const Row rows[] = {
      {u"", ""},
      {u"\\~\uFF3C\uFF5E", "\x5C\x7E\x81\x5F\x81\x60"},
      {u"line(10, あソｱ)\r\n", "line(10, \x82\xA0\x83\x5C\xB1)\r\n"},
      {u"a\nb", "a\nb"},
#ifdef _WIN32
      {u"a\u0080", "a\x80"},
#else
      {u"\u0080", "", 0, u"0080"},
#endif
      {u"ab\u00E9", "", 2, u"00E9"},
      {u"あ😀い", "", 1, u"1F600"},
      {u"\U00010000", "", 0, u"10000"},
      {u"x\U00020000", "", 1, u"20000"},
      {u"ok\r\nok\r\nx😀", "", 9, u"1F600"},
      {u"a\xD800", "", 1, u"D800"},  // a high surrogate cut off at the end
      {u"\xD800x", "", 0, u"D800"},
      {u"a\n\nb\xDC00\xDC00", "", 4, u"DC00"},
      {u"円\r\n\u00A5", "", 3, u"00A5"},  // ¥ would come back as a backslash
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(ToUtf8(row.named));
    Result<std::string> encoded = EncodeCp932(row.text);
    if (row.badAt == kOk) {
      ASSERT_TRUE(encoded);
      EXPECT_EQ(*encoded, row.bytes);
    } else {
      ASSERT_FALSE(encoded);
      EXPECT_EQ(encoded.failure().kind, FailureKind::kUnsavable);
      EXPECT_EQ(encoded.failure().position, row.badAt);
      EXPECT_EQ(encoded.failure().message,
                u"Shift-JIS（コードページ932）で保存できない文字があります（U+" +
                    std::u16string(row.named) + u"）");
    }
  }
  // So would ¢ £ ¬ — ‖ ‾ − 〜 as other characters.
  for (char16_t c : std::u16string(u"\u00A2\u00A3\u00AC\u2014\u2016\u203E\u2212\u301C")) {
    EXPECT_EQ(EncodeCp932(std::u16string(u"あ") + c).failure().position, 1u) << int{c};
  }
}

// Every one- and two-byte sequence that decodes must encode back to bytes that decode to the
// same text; where the bytes differ it must be one of the known duplicate codes: NEC row 13
// duplicates, NEC-selected IBM extensions, IBM codes with a JIS or NEC row 13 equivalent.
TEST(Cp932, EveryValidSequenceRoundTrips) {
  std::map<int, int> differingByLead;
  for (int first = 0; first < 0x100; ++first) {
    std::vector<std::string> sequences{std::string(1, static_cast<char>(first))};
    for (int second = 0x40; second <= 0xFC; ++second) {
      sequences.push_back({static_cast<char>(first), static_cast<char>(second)});
    }
    for (const std::string& bytes : sequences) {
      Result<std::u16string> decoded = DecodeCp932(bytes);
      // A two-byte sequence whose first byte decodes alone is two characters, not one.
      if (!decoded || (bytes.size() == 2 && DecodeCp932(bytes.substr(0, 1)))) continue;
      ASSERT_EQ(decoded->size(), 1u) << testing::PrintToString(bytes);
      Result<std::string> encoded = EncodeCp932(*decoded);
      ASSERT_TRUE(encoded) << testing::PrintToString(bytes) << " has no code going back";
      if (*encoded == bytes) continue;
      Result<std::u16string> again = DecodeCp932(*encoded);
      ASSERT_TRUE(again) << testing::PrintToString(bytes);
      EXPECT_EQ(*again, *decoded) << testing::PrintToString(bytes) << "came back as "
                                  << testing::PrintToString(*encoded);
      ++differingByLead[first];
    }
  }
  EXPECT_EQ(differingByLead, (std::map<int, int>{{0x87, 9}, {0xED, 188}, {0xEE, 186}, {0xFA, 15}}));
}

#ifndef _WIN32
// The iconv conversions remember single characters; they must agree with iconv over whole
// runs in every result, error positions included, for every character alone and in company.
template <typename T>
bool Same(const Result<T>& a, const Result<T>& b) {
  return a ? b && *a == *b : !b && a.failure() == b.failure();
}

TEST(Cp932, RememberedConversionsAgreeWithWholeRuns) {
  auto decoding = [](const std::string& bytes) {
    ASSERT_TRUE(Same(DecodeCp932(bytes), detail::DecodeCp932ByRuns(bytes)))
        << testing::PrintToString(bytes);
  };
  auto encoding = [](const std::u16string& text) {
    ASSERT_TRUE(Same(EncodeCp932(text), detail::EncodeCp932ByRuns(text)))
        << testing::PrintToString(text);
  };
  for (int first = 0x80; first < 0x100; ++first) {
    std::string lead(1, static_cast<char>(first));
    decoding(lead);
    decoding("a" + lead + "b");
    for (int second = 0; second < 0x100; ++second) {
      std::string pair = lead + static_cast<char>(second);
      decoding(pair);
      decoding("x\x82\xA0" + pair + "\x82");  // a cut-off lead byte last
      decoding(pair + "\xB1z");
    }
  }
  for (int unit = 0; unit < 0x10000; ++unit) {
    auto c = static_cast<char16_t>(unit);
    encoding(std::u16string(u"a") + c + u"\u3042b");
    encoding(std::u16string(u"\u3042") + c);
  }
  for (std::u16string text :
       {std::u16string(u"\u3042\U0001F600x"), std::u16string(u"a\xD83D") + u"b",
        std::u16string(u"\u3042\xDE00"), std::u16string(u"\u00A5\u3042"),
        std::u16string(3000, u'漢') + u"\u00A5"}) {
    encoding(text);
  }
  decoding(test::Repeat("\x8A\xBF", 3000));
}
#endif

// Windows splits long texts into runs of its own: cuts never fall inside a character, and a
// fault is placed within the whole text.
TEST(Cp932, RunsAreCutBetweenCharacters) {
  static std::vector<std::string> runs;
  auto record = [](std::string_view run, std::u16string& text, size_t& errorOffset) {
    runs.emplace_back(run);
    text += FromUtf8(std::to_string(run.size()));
    errorOffset = 1;
    return run[0] != '\xA0';
  };
  runs.clear();
  std::u16string text;
  ASSERT_TRUE(detail::DecodeInRuns("\x82\xA0\x82\xA0\x82\xA0\xB1\xB1x\x82\x5C", text, record, 3));
  EXPECT_EQ(text, u"431x2");
  EXPECT_EQ(runs,
            (std::vector<std::string>{"\x82\xA0\x82\xA0", "\x82\xA0\xB1", "\xB1", "\x82\x5C"}));
  EXPECT_EQ(detail::DecodeInRuns("ab\xB1\xB1\xB1\xA0", text, record, 3).failure().position, 6u);
  EXPECT_EQ(text, u"431x2");
}

}  // namespace
}  // namespace qdvz
